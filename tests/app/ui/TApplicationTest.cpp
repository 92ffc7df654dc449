#include "app/ui/TApplication.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <stdexcept>

#include "fakes/FakePlatform.h"

namespace corvane {
namespace {

class Throwing : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw std::runtime_error("Unable to write to /read-only/preset.cvt");
        return QObject::event(e);
    }
};

TEST(TApplication, AnErrorEscapingAHandlerIsShownAndTheProgramGoesOn) {
    auto* app = qobject_cast<TApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    test::ScriptedDialogs dialogs;
    app->setDialogs(&dialogs);
    Throwing target;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &event));
    app->setDialogs(nullptr);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Corvane");
    EXPECT_EQ(dialogs.shown[0].text, "Unable to write to /read-only/preset.cvt");
    EXPECT_EQ(dialogs.shown[0].icon, DialogIcon::Error);
}

}  // namespace
}  // namespace corvane
