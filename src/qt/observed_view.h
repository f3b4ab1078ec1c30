// SPDX-License-Identifier: GPL-3.0-or-later
// The observed light curve in the view: the file read, given its zero point and folded for
// the graph on a worker thread so that the window never freezes.
#pragma once

#include "core/velocity_data.h"
#include "render/observed_overlay.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QThread;

namespace orvanta::view {

/// Reads and prepares a file off the event loop; only the newest request is answered.
class ObservedLoader : public QObject {
    Q_OBJECT
public:
    explicit ObservedLoader(QObject* parent = nullptr) : QObject(parent) {}
    ~ObservedLoader() override;
    ObservedLoader(const ObservedLoader&) = delete;
    ObservedLoader& operator=(const ObservedLoader&) = delete;

    /// Starts reading the file at `path` (keeping `band` of a file with several, else the
    /// most numerous), a light curve or radial velocities as its columns say, a light curve
    /// folded for `graph`; an earlier request still running is forgotten.
    void load(const QString& path, const ObservedOverlay::Graph& graph,
              const std::optional<std::string>& band = std::nullopt);
    /// Whether a request is still being read.
    [[nodiscard]] bool busy() const { return pending_; }

signals:
    /// The newest request was read: the set and its sample for the graph it was asked for.
    void loaded(std::shared_ptr<const orvanta::ObservedSet> set,
                std::shared_ptr<const orvanta::ObservedOverlay::Sample> sample);
    /// The newest request was a radial-velocity file.
    void velocitiesLoaded(std::shared_ptr<const orvanta::VelocitySet> set);
    /// The newest request could not be used; the message is the error window's text.
    void failed(const QString& message);

private:
    std::vector<QThread*> threads_;
    unsigned generation_ = 0;
    bool pending_ = false;
};

} // namespace orvanta::view
