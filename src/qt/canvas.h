// SPDX-License-Identifier: GPL-3.0-or-later
// The window's client area: the retained picture of the background, the drawing surface and
// the marks, and the pointer input of the bare surface, the labels and the images.
#pragma once

#include "form1.h"
#include "qt/marks.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace orvanta::view {

class Canvas : public QWidget {
    Q_OBJECT
public:
    Canvas(Form1& form, const Pictures& pictures, QWidget* parent);

    /// Recomposes the picture if the surface or a mark changed since the last call.
    /// Returns whether it did.
    bool refresh();
    /// The composed window picture, 794 x 568, opaque.
    [[nodiscard]] const QImage& picture() const { return picture_; }
    /// How many times the picture has been composed.
    [[nodiscard]] unsigned compositions() const { return compositions_; }

signals:
    /// An event has been handed to the model.
    void handled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void showPointerAt(double x, double y);

    Form1& form_;
    const Pictures& pictures_;
    QImage base_;    ///< background and surface
    QImage picture_; ///< base_ with the marks
    std::uint64_t baseRevision_ = 0;
    std::uint64_t observedRevision_ = 0;
    bool composed_ = false;
    std::vector<Mark> marks_;
    unsigned compositions_ = 0;
};

/// The Qt pointer shape of a model pointer.
Qt::CursorShape cursorShape(Pointer pointer);

} // namespace orvanta::view
