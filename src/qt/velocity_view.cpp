// SPDX-License-Identifier: GPL-3.0-or-later
// Radial velocities in the window: opened as a light curve is (the loader tells them apart),
// kept beside it, fitted with the model's orbit whenever the model changes, and said in the
// title; a panel may draw them from `velocities()` and `velocityFit()`.
#include "qt/main_window.h"

namespace orvanta::view {

std::shared_ptr<const VelocitySet> MainWindow::velocities() const {
    return form_->velocities;
}

const std::optional<fit::VelocityFit>& MainWindow::velocityFit() const {
    return velocityMasses_.fit();
}

void MainWindow::velocitiesLoaded(const std::shared_ptr<const VelocitySet>& set) {
    velocityMasses_.hold(set);
    form_->velocities = set;
    form_->velocityCaption.clear();
    refresh(); // fits them with the model as it stands
    emit velocitiesChanged();
    // A file read as it was meant to be says nothing; skipped rows are said on loading.
    if (set->skipped > 0) showMessage(QString::fromStdString(velocityMasses_.summary()), false);
}

void MainWindow::removeVelocities() {
    if (!form_->velocities) return;
    velocityMasses_.hold(nullptr);
    form_->velocities.reset();
    form_->velocityCaption.clear();
    refresh();
    emit velocitiesChanged();
}

void MainWindow::followVelocities() {
    if (!form_->velocities || !velocityMasses_.follow(parametersOf(*form_))) return;
    form_->velocityCaption = velocityMasses_.caption();
    emit velocityFitChanged();
}

} // namespace orvanta::view
