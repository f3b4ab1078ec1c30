// SPDX-License-Identifier: GPL-3.0-or-later
// A list box exactly one row high: it shows its top row, and its scroll arrows, the wheel,
// the arrow keys and the scroll thumb step that row through the list.
#pragma once

#include <QScrollBar>
#include <QStringList>
#include <QWidget>

namespace orvanta::view {

class OneRowList : public QWidget {
    Q_OBJECT
public:
    explicit OneRowList(QWidget* parent = nullptr);

    void setItems(const QStringList& items);
    [[nodiscard]] const QStringList& items() const { return items_; }
    /// Shows the row without announcing it (a change made by the model).
    void setTopRow(int row);
    [[nodiscard]] int topRow() const;
    [[nodiscard]] QScrollBar* scrollBar() const { return bar_; }

signals:
    /// The user moved the top row.
    void topRowChanged(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wheel(QWheelEvent* event);

    QStringList items_;
    QScrollBar* bar_;
    int wheelRemainder_ = 0; ///< eighths of a degree not yet turned into a row
};

} // namespace orvanta::view
