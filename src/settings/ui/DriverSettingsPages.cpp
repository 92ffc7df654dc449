#include "settings/ui/DriverSettingsPages.h"

#include "settings/DriverSettingsTable.h"
#include "widgets/Form.h"

namespace corvane {

namespace {

form::CheckRow settingRow(QWidget* parent, const char* id, int left, int top,
                          const QString& labelName = {}) {
    const DriverSetting& s = driverSetting(id);
    return form::checkRow(parent, s.id, s.caption, s.hint, left, top, labelName,
                          s.labelHint != nullptr ? QString(s.labelHint) : QString());
}

QStringList itemsOf(const DriverSetting& s) {
    QStringList items;
    for (const char* item : s.items)
        items << item;
    return items;
}

// A list with its caption label before it; the label's accelerator focuses the list.
QComboBox* settingList(QWidget* parent, const char* id, const QPoint& labelAt,
                       const QRect& geometry) {
    const DriverSetting& s = driverSetting(id);
    QComboBox* combo = form::list(parent, s.id, itemsOf(s), geometry, s.hint);
    TCheckLabel* caption = form::label(parent, s.caption, labelAt, QString(s.id) + "Lbl");
    caption->SetFocusControl(combo);
    form::setHint(caption, s.hint);
    return combo;
}

}  // namespace

void buildDesktopPage(QWidget* page) {
    QGroupBox* group =
        form::group(page, " Desktop Settings ", QRect(8, 8, 482, 160), "DesktopGroup");
    settingRow(group, "D3DTab", 24, 60, "Label36");
    settingRow(group, "OpenGLTab", 24, 90, "OpenGLTabLbl");
    settingRow(group, "EnableIcon", 24, 120, "EnableIconLbl");
}

void buildDirect3DPage(QWidget* page) {
    QGroupBox* group = form::group(page, " Direct 3D ", QRect(8, 8, 482, 326), "Direct3DGroup");
    int top = 24;
    for (const char* id : {"D3DWaitSync", "AntiAlias", "PaletteBased", "Dithering", "EnableKatmai",
                           "EnablePrimary", "EnableSysMemBlts"}) {
        settingRow(group, id, 14, top);
        top += 26;
    }
    const DriverSetting& zbuffer = driverSetting("ZBufferCB");
    TCheckLabel* zLabel = form::label(group, zbuffer.caption, QPoint(16, 216), "ZBufferCBLbl");
    form::setHint(zLabel, zbuffer.hint);
    zLabel->SetFocusControl(
        form::list(group, "ZBufferCB", itemsOf(zbuffer), QRect(16, 234, 150, 21), zbuffer.hint));

    TCheckLabel* heading = form::label(group, "Gamma scale:", QPoint(262, 24), "GammaScaleLbl");
    form::setHint(heading, kGammaHint);
    const char* names[] = {"Red", "Green", "Blue"};
    const char* captions[] = {"&R=", "&G=", "&B="};
    for (int i = 0; i < 3; ++i) {
        const int rowTop = 48 + i * 40;
        TTrackBar* bar =
            form::slider(group, QString(names[i]) + "Gamma", 50, 150, QRect(286, rowTop, 150, 30));
        bar->SetPosition(100);
        TCheckLabel* caption = form::label(group, captions[i], QPoint(262, rowTop + 6),
                                           QString(names[i]) + "GammaLbl");
        caption->SetFocusControl(bar);
        form::label(group, "n/a", QPoint(440, rowTop + 6), QString(names[i]) + "GammaPosLbl");
    }
    form::label(group, "50%", QPoint(286, 168), "Gamma50Lbl");
    form::label(group, "100%", QPoint(350, 168), "Gamma100Lbl");
    form::label(group, "150%", QPoint(414, 168), "Gamma150Lbl");
    form::CheckRow simultaneous =
        form::checkRow(group, "ChangeRGBSim", "&Change RGB simultaneously",
                       "Check this to move all the settings simultaneously.", 262, 196);
    simultaneous.box->SetChecked(true);
}

void buildOpenGLPage(QWidget* page) {
    QGroupBox* group = form::group(page, " OpenGL Settings ", QRect(8, 8, 482, 326), "OpenGLGroup");
    int top = 24;
    for (const char* id : {"OpenWaitVertSync", "Convert32To16", "PageFlipping", "DisDitherAlpha",
                           "KTXBufferRegion", "MultiTexture"}) {
        settingRow(group, id, 14, top);
        top += 26;
    }
    settingList(group, "SubpixelCB", QPoint(16, 190), QRect(140, 186, 60, 21));
    settingList(group, "ForceDepthBuffer", QPoint(16, 218), QRect(140, 214, 150, 21));
    settingList(group, "ModulateFactor", QPoint(16, 246), QRect(140, 242, 150, 21));
    const DriverSetting& detail = driverSetting("DetailLevel");
    TTrackBar* bar = form::slider(group, detail.id, detail.minimum, detail.maximum,
                                  QRect(134, 270, 170, 30), detail.hint);
    bar->SetFrequency(1);
    TCheckLabel* caption = form::label(group, detail.caption, QPoint(16, 278), "DetailLevelLbl");
    caption->SetFocusControl(bar);
    form::setHint(caption, detail.hint);
    form::label(group, "Fuzzy", QPoint(136, 300), "FuzzyLbl");
    TCheckLabel* sharp = form::label(group, "Sharp", QPoint(0, 300), "SharpLbl");
    sharp->move(304 - sharp->width(), 300);
}

void buildAdvancedSettings(QGroupBox* group) {
    settingRow(group, "HMDLUseAGP", 14, 22, "HDMLAgpLbl").label->setEnabled(false);
}

}  // namespace corvane
