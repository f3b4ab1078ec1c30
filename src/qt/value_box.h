// SPDX-License-Identifier: GPL-3.0-or-later
// A value box: a one-line text box that, whenever it takes focus, shows the start of its text.
#pragma once

#include <QLineEdit>

namespace orvanta::view {

class ValueBox : public QLineEdit {
    Q_OBJECT
public:
    explicit ValueBox(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
};

} // namespace orvanta::view
