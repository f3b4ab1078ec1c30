// SPDX-License-Identifier: GPL-3.0-or-later
// A frame: a black panel with a caption and an etched border, holding its own labels
// (painted) and input controls (child widgets placed relative to it).
#pragma once

#include "qt/marks.h"

#include <QImage>
#include <QWidget>

#include <vector>

namespace orvanta::view {

class PanelFrame : public QWidget {
    Q_OBJECT
public:
    PanelFrame(const FrameCtl& frame, const Controls& controls, const Pictures& pictures,
               QWidget* parent);

    /// Recomposes the panel if its caption, colours, size or one of its labels changed.
    bool refresh();
    [[nodiscard]] const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const FrameCtl& frame_;
    const Controls& controls_;
    const Pictures& pictures_;
    QImage picture_;
    bool composed_ = false;
    Mark look_; ///< the frame's own caption, colours and size
    std::vector<Mark> marks_;
};

} // namespace orvanta::view
