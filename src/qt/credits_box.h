// SPDX-License-Identifier: GPL-3.0-or-later
// The credits box: centred text with a vertical scroll bar; a double-click closes it
// instead of selecting a word.
#pragma once

#include <QTextEdit>

#include <string>

namespace orvanta::view {

class CreditsBox : public QTextEdit {
    Q_OBJECT
public:
    explicit CreditsBox(QWidget* parent = nullptr);

    /// Shows the text (lines separated by CR LF or LF), every line centred.
    void setCredits(const std::string& text);
    [[nodiscard]] const std::string& credits() const { return credits_; }

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::string credits_;
};

} // namespace orvanta::view
