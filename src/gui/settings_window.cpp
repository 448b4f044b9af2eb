#include "gui/settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/dialog_placement.h"
#include "gui/ui_text.h"
#include "gui/window_session.h"
#include "i18n/safe_format.h"

namespace tcmap {

namespace {

constexpr int kClientWidth = 384;

QPushButton* plainButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    // Enter in a field must not save or open a dialog.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString groupName(TextId heading) {
    switch (heading) {
        case TextId::ForecastGroup:
            return QStringLiteral("forecastGroup");
        case TextId::AgenciesGroup:
            return QStringLiteral("agenciesGroup");
        case TextId::VectorMapsGroup:
            return QStringLiteral("vectorMapsGroup");
        default:
            return QStringLiteral("archiveGroup");
    }
}

}  // namespace

SettingsWindow::SettingsWindow(WindowSession& app, Prompter& prompter, QWidget* owner)
    : QDialog(owner), app_(app), prompter_(prompter), pack_(app.languagePack()) {
    setFont(uiFont());
    setWindowTitle(uiText(pack_.text(TextId::SettingsTitle)));

    const SettingsFormValues values = loadSettingsForm(app_.paths.settingsPath, app_.style);

    auto* layout = new QVBoxLayout(this);
    // The client area ends at the bottom of the Save button.
    layout->setContentsMargins(10, 10, 10, 0);

    auto* styleRow = new QHBoxLayout;
    styleRow->addWidget(plainLabel(label(TextId::DrawingStyle), this));
    style_ = new QComboBox(this);
    style_->setObjectName(
        QString::fromUtf8(settings::kMode.key.data(), settings::kMode.key.size()));
    for (const TextId id : kStyleItemTexts) style_->addItem(uiText(pack_.text(id)));
    styleRow->addWidget(style_, 1);
    layout->addLayout(styleRow);

    // The fields scroll when the screen is lower than the window (a small
    // screen, or a large scale factor); the style list and the buttons stay.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("scroll"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* fields = new QWidget(scroll_);
    auto* fieldsLayout = new QVBoxLayout(fields);
    fieldsLayout->setContentsMargins(0, 0, 0, 0);
    pages_ = new QStackedWidget(fields);
    pages_->setObjectName(QStringLiteral("pages"));
    pages_->setFrameShape(QFrame::StyledPanel);
    pages_->addWidget(buildPage(wendrelSettingsFields(), values));
    pages_->addWidget(buildPage(tcvSettingsFields(), values));
    fieldsLayout->addWidget(pages_);
    // The land of vector maps and the agency fields hold for both styles:
    // one group each under the pages.
    const auto addShared = [&](std::span<const SettingsField> table, const QString& name) {
        QWidget* shared = buildPage(table, values);
        shared->setObjectName(name);
        shared->layout()->setContentsMargins(0, 0, 0, 0);
        fieldsLayout->addWidget(shared);
    };
    addShared(vectorMapSettingsFields(), QStringLiteral("vectorMaps"));
    addShared(agencySettingsFields(), QStringLiteral("agencies"));
    scroll_->setWidget(fields);
    layout->addWidget(scroll_, 1);

    connect(style_, &QComboBox::currentIndexChanged, pages_, &QStackedWidget::setCurrentIndex);
    style_->setCurrentIndex(values.style);
    pages_->setCurrentIndex(values.style);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* cancel = plainButton(uiText(pack_.text(TextId::CancelButton)), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    save_ = plainButton(uiText(pack_.text(TextId::SaveButton)), this);
    save_->setObjectName(QStringLiteral("save"));
    buttons->addWidget(cancel);
    buttons->addWidget(save_);
    layout->addLayout(buttons);

    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(save_, &QPushButton::clicked, this, &SettingsWindow::save);

    placeOnScreen(owner);
}

void SettingsWindow::placeOnScreen(QWidget* owner) {
    // Every field shown at the window's fixed width, when the screen has room.
    QWidget* fields = scroll_->widget();
    const int fieldsHeight = fields->layout()->hasHeightForWidth()
                                 ? fields->layout()->totalHeightForWidth(kClientWidth)
                                 : fields->sizeHint().height();
    scroll_->setMinimumHeight(fieldsHeight);
    QLayout* outer = layout();
    int width = kClientWidth;
    int height = outer->hasHeightForWidth() ? outer->totalHeightForWidth(width)
                                            : outer->totalSizeHint().height();
    const QSize room = screenRoom(owner);
    if (height > room.height()) {
        // Lower than the screen: the fields scroll, with room for the bar.
        scroll_->setMinimumHeight(std::max(1, fieldsHeight - (height - room.height())));
        width += scroll_->verticalScrollBar()->sizeHint().width();
        height = room.height();
    }
    resize(width, height);
    outer->setGeometry(QRect(0, 0, this->width(), this->height()));
    // The client area ends at the bottom of the Save button.
    const int saveBottom = save_->mapTo(this, QPoint(0, save_->height())).y();
    fitAndCentre(this, width, saveBottom, owner);
}

QString SettingsWindow::label(TextId textId) const {
    return uiText(pack_.text(textId)) + QLatin1Char(':');
}

QWidget* SettingsWindow::buildPage(std::span<const SettingsField> fields,
                                   const SettingsFormValues& values) {
    auto* pageWidget = new QWidget(pages_);
    auto* pageGrid = new QGridLayout(pageWidget);
    pageGrid->setColumnStretch(1, 1);
    // Fields go onto the page until a group heading; then into its box.
    QWidget* page = pageWidget;
    QGridLayout* grid = pageGrid;
    int pageRow = 0;
    int row = 0;
    for (const SettingsField& field : fields) {
        if (field.control == SettingsControl::Group) {
            auto* box = new QGroupBox(uiText(pack_.text(field.labelId)), pageWidget);
            box->setObjectName(groupName(field.labelId));
            pageGrid->addWidget(box, pageRow, 0, 1, 3);
            ++pageRow;
            page = box;
            grid = new QGridLayout(box);
            grid->setColumnStretch(1, 1);
            row = 0;
            continue;
        }
        if (page == pageWidget) pageRow = row + 1;
        const std::string key = field.setting != nullptr ? std::string(field.setting->key) : "";
        const QString name = QString::fromStdString(key);
        const int widgetsBefore = page->findChildren<QWidget*>().size();
        switch (field.control) {
            case SettingsControl::Edit:
            case SettingsControl::Note: {
                grid->addWidget(plainLabel(label(field.labelId), page), row, 0);
                auto* edit = new QLineEdit(page);
                if (field.control == SettingsControl::Note) {
                    edit->setObjectName(QStringLiteral("tcvPointSize"));
                    edit->setText(uiText(tcvPointSizeNote(pack_)));
                    edit->setReadOnly(true);
                } else {
                    edit->setObjectName(name);
                    edit->setText(QString::fromStdString(values.texts.at(key)));
                    edits_[key] = edit;
                }
                if (field.unitId) {
                    grid->addWidget(edit, row, 1);
                    grid->addWidget(plainLabel(uiText(pack_.text(*field.unitId)), page), row, 2);
                } else {
                    grid->addWidget(edit, row, 1, 1, 2);
                }
                break;
            }
            case SettingsControl::List:
            case SettingsControl::WordList:
            case SettingsControl::FixedList: {
                grid->addWidget(plainLabel(label(field.labelId), page), row, 0);
                auto* list = new QComboBox(page);
                for (const TextId id : field.itemIds) list->addItem(uiText(pack_.text(id)));
                if (field.control == SettingsControl::FixedList) {
                    list->setObjectName(QStringLiteral("tcvPriority"));
                    list->setCurrentIndex(0);
                } else {
                    list->setObjectName(name);
                    list->setCurrentIndex(values.lists.at(key));
                    lists_[key] = list;
                }
                grid->addWidget(list, row, 1, 1, 2);
                break;
            }
            case SettingsControl::CheckBox:
            case SettingsControl::Switch: {
                auto* check = new QCheckBox(uiText(pack_.text(field.labelId)), page);
                check->setObjectName(name);
                check->setChecked(values.checks.at(key));
                checks_[key] = check;
                grid->addWidget(check, row, 0, 1, 3);
                break;
            }
            case SettingsControl::MapPath: {
                grid->addWidget(plainLabel(label(field.labelId), page), row, 0);
                auto* pathRow = new QHBoxLayout;
                auto* edit = new QLineEdit(QString::fromStdString(values.texts.at(key)), page);
                edit->setObjectName(name);
                edit->setCursorPosition(0);  // show where the path starts
                edits_[key] = edit;
                auto* change = plainButton(uiText(pack_.text(TextId::ChangeButton)), page);
                change->setObjectName(QStringLiteral("change") + name);
                connect(change, &QPushButton::clicked, this, [this, edit] { changeMap(edit); });
                pathRow->addWidget(edit, 1);
                pathRow->addWidget(change);
                grid->addLayout(pathRow, row, 1, 1, 2);
                break;
            }
            case SettingsControl::Group:
                break;
        }
        // Every widget of a stored field names its key, for editing the file by hand.
        if (field.setting != nullptr) {
            const QString tip = uiText(
                safeFormat(pack_.text(TextId::SettingKeyTip),
                           {std::string(field.setting->key), std::string(field.setting->section)}));
            const QList<QWidget*> widgets = page->findChildren<QWidget*>();
            for (qsizetype index = widgetsBefore; index < widgets.size(); ++index) {
                widgets[index]->setToolTip(tip);
            }
        }
        ++row;
    }
    pageGrid->setRowStretch(pageRow, 1);
    return pageWidget;
}

SettingsFormValues SettingsWindow::shownValues() const {
    SettingsFormValues values;
    values.style = style_->currentIndex();
    for (const auto& [key, edit] : edits_) values.texts[key] = edit->text().toStdString();
    for (const auto& [key, list] : lists_) values.lists[key] = list->currentIndex();
    for (const auto& [key, check] : checks_) values.checks[key] = check->isChecked();
    return values;
}

void SettingsWindow::changeMap(QLineEdit* field) {
    if (auto chosen = chooseMapPicture(pack_, prompter_, field->text().toStdString())) {
        field->setText(QString::fromStdString(*chosen));
        field->setCursorPosition(0);
    }
}

void SettingsWindow::save() {
    saveSettingsForm(app_.paths.settingsPath, app_.style, shownValues());
    accept();
}

}  // namespace tcmap
