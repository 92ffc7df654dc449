#include "widgets/FloatMinimizer.h"

#include <QGuiApplication>

namespace corvane {

namespace {
bool g_slotTaken = false;
QPointer<QWidget> g_mainForm;
}  // namespace

QWidget* TFloatMinimizer::applicationMainForm() {
    return g_mainForm;
}
void TFloatMinimizer::setApplicationMainForm(QWidget* form) {
    g_mainForm = form;
}
void TFloatMinimizer::releaseSlotForTests() {
    g_slotTaken = false;
}

TFloatMinimizer::TFloatMinimizer(QObject* owner) : QObject(owner) {
    if (g_slotTaken) throw EThereCanBeOnlyOne();
    g_slotTaken = true;
    hook(owner);
}

// At run time the slot stays taken, so that a later instance is refused too.
TFloatMinimizer::~TFloatMinimizer() = default;

void TFloatMinimizer::hook(QObject* owner) {
    if (owner == nullptr) throw EAssertionFailed();
    auto* form = qobject_cast<QWidget*>(owner);
    if (form == nullptr || !form->isWindow()) throw EOwnerMustBeForm(owner->objectName());
    if (g_mainForm != nullptr && g_mainForm != form)
        throw EOwnerMustBeMainForm(owner->objectName());
    m_form = form;
    if (m_copyTitle) form->setWindowTitle(QGuiApplication::applicationName());
}

}  // namespace corvane
