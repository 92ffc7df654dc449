#include "widgets/FloatMinimizer.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QWidget>

namespace corvane {
namespace {

class FloatMinimizerTest : public ::testing::Test {
protected:
    void SetUp() override {
        TFloatMinimizer::releaseSlotForTests();
        TFloatMinimizer::setApplicationMainForm(nullptr);
    }
    void TearDown() override { SetUp(); }

    template <typename E>
    std::string messageOf(QObject* owner) {
        try {
            TFloatMinimizer minimizer(owner);
        } catch (const E& e) {
            return e.what();
        }
        return "nothing raised";
    }
};

TEST_F(FloatMinimizerTest, CopiesTheApplicationTitle) {
    QWidget form;
    form.setWindowTitle("RegEditFrm");
    new TFloatMinimizer(&form);
    EXPECT_EQ(form.windowTitle(), "Corvane");
    EXPECT_EQ(form.windowTitle(), "Corvane");
}

TEST_F(FloatMinimizerTest, OnlyOneInstance) {
    QWidget form;
    new TFloatMinimizer(&form);
    EXPECT_EQ(messageOf<EThereCanBeOnlyOne>(&form), "Only one TFloatMinimizer per app!");
}

TEST_F(FloatMinimizerTest, OwnerMustBeTheMainForm) {
    QObject dataModule;
    dataModule.setObjectName("DataModule1");
    EXPECT_EQ(messageOf<EOwnerMustBeForm>(&dataModule), "DataModule1 is not a form");

    TFloatMinimizer::releaseSlotForTests();
    QWidget mainForm;
    QWidget second;
    second.setObjectName("Form2");
    TFloatMinimizer::setApplicationMainForm(&mainForm);
    EXPECT_EQ(messageOf<EOwnerMustBeMainForm>(&second), "Form2 is not the main form");

    TFloatMinimizer::releaseSlotForTests();
    EXPECT_EQ(messageOf<EAssertionFailed>(nullptr), "Assertion failure");
}

TEST_F(FloatMinimizerTest, TheSlotStaysTakenAfterAFailedConstruction) {
    QObject dataModule;
    EXPECT_THROW(TFloatMinimizer{&dataModule}, EOwnerMustBeForm);
    QWidget form;
    EXPECT_THROW(TFloatMinimizer{&form}, EThereCanBeOnlyOne);
}

}  // namespace
}  // namespace corvane
