#include "gui/language_window.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/prompter.h"
#include "gui/dialog_placement.h"
#include "gui/ui_text.h"
#include "gui/window_session.h"
#include "i18n/language_choice.h"

namespace tcmap {

LanguageWindow::LanguageWindow(WindowSession& app, Prompter& prompter, QWidget* owner)
    : QDialog(owner), prompter_(prompter), pack_(app.languagePack()), rows_(languageRows(pack_)) {
    setFont(uiFont());
    setWindowTitle(uiText(languageWindowTitle(pack_)));

    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(uiText(pack_.text(TextId::AvailableLanguages)) + ':', this);
    auto* groupLayout = new QVBoxLayout(group);
    list_ = new QListWidget(group);
    list_->setObjectName(QStringLiteral("languages"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const LanguageRow& row : rows_) list_->addItem(uiText(row.caption));
    groupLayout->addWidget(list_);
    layout->addWidget(group, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(uiText(pack_.text(TextId::OkButton)), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(uiText(pack_.text(TextId::CancelButton)), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setAutoDefault(false);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &LanguageWindow::choose);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { choose(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    fitAndCentre(this, 300, 260, owner);
}

void LanguageWindow::choose() {
    // One step: OK (or a double-click) is the confirmation. The caller
    // switches the open windows over at once, so no box says "next start".
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return;
    const LanguageRow& row = rows_[size_t(list_->row(selected.front()))];
    if (!saveLanguageChoice(pack_.runFolder(), row.code)) {
        prompter_.message(pack_.text(TextId::LanguageNotSaved), pack_.text(TextId::LanguageTitle),
                          Prompter::Icon::Warning, Prompter::Buttons::Ok, Prompter::Answer::Ok);
        return;
    }
    chosenCode_ = row.code;
    accept();
}

}  // namespace tcmap
