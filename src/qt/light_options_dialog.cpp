// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl+R: the dialog of the options of real stars, kept for this session only.
#include "qt/main_window.h"

#include "ui/light_options_form.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include <string>
#include <variant>

namespace orvanta::view {

void MainWindow::editLightOptions() {
    if (optionsDialog_ != nullptr && optionsDialog_->isVisible()) {
        optionsDialog_->raise();
        return;
    }
    auto* dialog = new QDialog(this);
    dialog->setObjectName(QStringLiteral("lightOptions"));
    dialog->setWindowTitle(tr("Real stars"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* form = new QFormLayout(dialog);
    form->addRow(new QLabel(tr("Limb darkening I(\u03bc)/I(1) = 1 \u2212 u1(1 \u2212 \u03bc) "
                               "\u2212 u2(1 \u2212 \u03bc)\u00b2; third light: the fraction "
                               "of the whole light outside the eclipses.\nFor this session "
                               "only; all 0 is the uniform discs."),
                            dialog));
    const LightOptionTexts now = textsOf(form_->LightOptions);
    auto box = [&](const char* name, const QString& label, const std::string& text) {
        auto* edit = new QLineEdit(QString::fromStdString(text), dialog);
        edit->setObjectName(QString::fromLatin1(name));
        form->addRow(label, edit);
        return edit;
    };
    QLineEdit* u1A = box("u1A", tr("Star A, u1"), now.u1A);
    QLineEdit* u2A = box("u2A", tr("Star A, u2"), now.u2A);
    QLineEdit* u1B = box("u1B", tr("Star B, u1"), now.u1B);
    QLineEdit* u2B = box("u2B", tr("Star B, u2"), now.u2B);
    QLineEdit* third = box("thirdLight", tr("Third light"), now.thirdLight);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, dialog, [=, this] {
        const auto read = readLightOptions({u1A->text().toStdString(), u2A->text().toStdString(),
                                            u1B->text().toStdString(), u2B->text().toStdString(),
                                            third->text().toStdString()});
        if (const auto* why = std::get_if<std::string>(&read)) {
            showMessage(QString::fromStdString(*why), true);
            return;
        }
        dialog->accept();
        form_->LightOptionsSet(std::get<physics::LightOptions>(read));
        refresh();
    });
    optionsDialog_ = dialog;
    dialog->open();
}

} // namespace orvanta::view
