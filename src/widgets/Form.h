#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <QStringList>

#include "widgets/CheckLabel.h"
#include "widgets/OverCheckBox.h"
#include "widgets/TrackBar.h"

// Helpers that place the window's controls at fixed positions, as the window is designed.
namespace corvane::form {

// The window's font: MS Sans Serif with a character height of 11 pixels, or the closest font the
// system has.
QFont windowFont();

// Shows a hint as the control's tooltip, readable for 30 seconds.
void setHint(QWidget* widget, const QString& hint);

QGroupBox* group(QWidget* parent, const QString& caption, const QRect& geometry,
                 const QString& name = {});

TCheckLabel* label(QWidget* parent, const QString& caption, const QPoint& at,
                   const QString& name = {});

// A bitmap check box with its check label to the right, both carrying the hint.
struct CheckRow {
    TOverCheckBox* box;
    TCheckLabel* label;
};
CheckRow checkRow(QWidget* parent, const QString& name, const QString& caption, const QString& hint,
                  int left, int top, const QString& labelName = {}, const QString& labelHint = {});

QComboBox* list(QWidget* parent, const QString& name, const QStringList& items,
                const QRect& geometry, const QString& hint = {});

TTrackBar* slider(QWidget* parent, const QString& name, int minimum, int maximum,
                  const QRect& geometry, const QString& hint = {});

QPushButton* button(QWidget* parent, const QString& name, const QString& caption,
                    const QRect& geometry);

}  // namespace corvane::form
