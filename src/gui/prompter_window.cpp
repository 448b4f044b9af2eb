#include "gui/prompter_window.h"

#include "gui/ui_text.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>

namespace tcmap {

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

QMessageBox::StandardButton toButton(Prompter::Answer answer) {
    switch (answer) {
        case Prompter::Answer::Ok:
            return QMessageBox::Ok;
        case Prompter::Answer::Cancel:
            return QMessageBox::Cancel;
        case Prompter::Answer::Yes:
            return QMessageBox::Yes;
        case Prompter::Answer::No:
            return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon toIcon(Prompter::Icon icon) {
    switch (icon) {
        case Prompter::Icon::Information:
            return QMessageBox::Information;
        case Prompter::Icon::Warning:
            return QMessageBox::Warning;
        case Prompter::Icon::Question:
            return QMessageBox::Question;
        case Prompter::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toButtons(Prompter::Buttons buttons) {
    switch (buttons) {
        case Prompter::Buttons::Ok:
            return QMessageBox::Ok;
        case Prompter::Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Prompter::Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Prompter::Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The answer a box gives when it is closed without a button: Cancel where
// there is one, else No, else OK.
Prompter::Answer closedAnswer(Prompter::Buttons buttons) {
    switch (buttons) {
        case Prompter::Buttons::Ok:
            return Prompter::Answer::Ok;
        case Prompter::Buttons::YesNo:
            return Prompter::Answer::No;
        case Prompter::Buttons::OkCancel:
        case Prompter::Buttons::YesNoCancel:
            break;
    }
    return Prompter::Answer::Cancel;
}

void prepareFileDialog(QFileDialog& dialog, const std::string& filter) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QString filters = toQtNameFilters(filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters.split(QStringLiteral(";;")));
}

}  // namespace

// A box over a window that is not shown yet (the first-run question) is
// centred on the screen instead.
QWidget* QtPrompter::visibleOwner() const {
    QWidget* owner = owner_.data();
    return owner != nullptr && owner->isVisible() ? owner : nullptr;
}

QString toQtNameFilters(const std::string& filter) {
    const QStringList parts = q(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns = patterns.simplified();
        if (description.isEmpty() && patterns.isEmpty()) continue;
        if (patterns.isEmpty()) patterns = QStringLiteral("*");
        filters.append(description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

Prompter::Answer QtPrompter::message(const std::string& text, const std::string& title, Icon icon,
                                     Buttons buttons, Answer defaultAnswer) {
    QMessageBox box(toIcon(icon), q(title), uiText(text), toButtons(buttons), visibleOwner());
    const QMessageBox::StandardButton preferred = toButton(defaultAnswer);
    if (box.standardButtons() & preferred) box.setDefaultButton(preferred);
    const int result = box.exec();
    switch (result) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return closedAnswer(buttons);
    }
}

std::optional<std::string> QtPrompter::askText(const std::string& prompt, const std::string& title,
                                               const std::string& initial) {
    bool accepted = false;
    const QString answer = QInputDialog::getText(visibleOwner(), q(title), q(prompt),
                                                 QLineEdit::Normal, q(initial), &accepted);
    if (!accepted) return std::nullopt;
    return answer.toStdString();
}

std::optional<std::string> QtPrompter::chooseOpenPath(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& initialPath) {
    QFileDialog dialog(visibleOwner(), q(title));
    prepareFileDialog(dialog, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!initialPath.empty()) dialog.selectFile(q(initialPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtPrompter::chooseSavePath(const std::string& title,
                                                      const std::string& filter,
                                                      const std::string& initialPath,
                                                      const std::string& defaultExtension) {
    QFileDialog dialog(visibleOwner(), q(title));
    prepareFileDialog(dialog, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(q(defaultExtension));
    // A name typed without an extension takes that of the chosen filter
    // (SVG, PDF), or the default one when the filter names no single type.
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, defaultExtension](const QString& selected) {
            const QRegularExpression single(QStringLiteral("\\*\\.(\\w+)\\)?$"));
            const QRegularExpressionMatch match = single.match(selected);
            dialog.setDefaultSuffix(match.hasMatch() ? match.captured(1) : q(defaultExtension));
        });
    if (!initialPath.empty()) dialog.selectFile(q(initialPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

uint32_t QtPrompter::chooseColour(uint32_t current) {
    // The custom colours are not kept from one use to the next.
    for (int i = 0; i < QColorDialog::customCount(); ++i) {
        QColorDialog::setCustomColor(i, QColor(Qt::white));
    }
    const QColor initial(int(current & 0xFFu), int((current >> 8) & 0xFFu),
                         int((current >> 16) & 0xFFu));
    QColorDialog dialog(initial, visibleOwner());
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return current;
    const QColor chosen = dialog.selectedColor();
    if (!chosen.isValid()) return current;
    return uint32_t(chosen.red()) | (uint32_t(chosen.green()) << 8) |
           (uint32_t(chosen.blue()) << 16);
}

void QtPrompter::beep() {
    QApplication::beep();
}

void QtPrompter::setWaitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace tcmap
