#include "gui/text_format_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "config/settings_keys.h"
#include "gui/dialog_placement.h"
#include "gui/ui_text.h"
#include "gui/window_session.h"

namespace tcmap {

namespace {

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 160;

QPushButton* plainButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    // Enter in a field must neither save nor test.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TextFormatWindow::TextFormatWindow(WindowSession& app, Prompter& prompter, QWidget* owner)
    : QDialog(owner), app_(app), prompter_(prompter), pack_(app.languagePack()) {
    setFont(uiFont());
    setWindowTitle(uiText(pack_.text(TextId::TextFormatTitle)));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);

    auto* description = new QLabel(uiText(pack_.text(TextId::TextFormatDescription)), this);
    description->setTextFormat(Qt::PlainText);
    description->setWordWrap(true);
    layout->addWidget(description, 1, Qt::AlignTop);

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    int row = 0;
    for (const LabelFormat which : {LabelFormat::Time, LabelFormat::Forecast}) {
        const SettingKey& setting = labelFormatSetting(which);
        auto* label = new QLabel(uiText(pack_.text(labelFormatLabelText(which))) + ':', this);
        label->setTextFormat(Qt::PlainText);
        auto* edit = new QLineEdit(
            QString::fromStdString(readLabelFormat(app_.paths.settingsPath, which)), this);
        edit->setObjectName(QString::fromUtf8(setting.key.data(), setting.key.size()));
        (which == LabelFormat::Time ? time_ : forecast_) = edit;
        auto* test = plainButton(uiText(pack_.text(TextId::TestButton)), this);
        test->setObjectName(QStringLiteral("test") + edit->objectName());
        connect(test, &QPushButton::clicked, this, [this, which] { this->test(which); });
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(test, row, 2);
        ++row;
    }
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* cancel = plainButton(uiText(pack_.text(TextId::CancelButton)), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    auto* save = plainButton(uiText(pack_.text(TextId::SaveButton)), this);
    save->setObjectName(QStringLiteral("save"));
    buttons->addWidget(cancel);
    buttons->addWidget(save);
    layout->addLayout(buttons);

    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(save, &QPushButton::clicked, this, &TextFormatWindow::save);

    // 360 x 160 holds the description in the shipped languages; a longer
    // translation gets the height it needs rather than being cut off.
    const int needed = layout->hasHeightForWidth() ? layout->totalHeightForWidth(kClientWidth)
                                                   : layout->totalMinimumSize().height();
    fitAndCentre(this, kClientWidth, std::max(kClientHeight, needed), owner);
}

QLineEdit* TextFormatWindow::field(LabelFormat which) const {
    return which == LabelFormat::Time ? time_ : forecast_;
}

void TextFormatWindow::test(LabelFormat which) {
    showLabelFormatSample(pack_, prompter_, which, field(which)->text().toStdString());
}

void TextFormatWindow::save() {
    if (saveLabelFormats(pack_, prompter_, app_.paths.settingsPath, time_->text().toStdString(),
                         forecast_->text().toStdString())) {
        accept();
    }
}

}  // namespace tcmap
