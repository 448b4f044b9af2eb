#include "gui/region_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

#include "base/text_rules.h"
#include "config/prompter.h"
#include "gui/dialog_placement.h"
#include "gui/region_map_view.h"
#include "gui/ui_text.h"
#include "i18n/safe_format.h"

namespace tcmap {

namespace {

constexpr int kDecimals = 2;
// Typed extents may go past a map's width, so OK can say why that is refused.
constexpr double kLongestTypedExtent = 720;
constexpr double kSmallestExtent = 0.01;

QDoubleSpinBox* degreesBox(const char* name, double maximum, double minimum, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(kDecimals);
    box->setRange(minimum, maximum);
    box->setSuffix(QStringLiteral("°"));
    box->setAccelerated(true);
    return box;
}

QComboBox* sideList(const char* name, QChar positive, QChar negative, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->addItem(positive);
    list->addItem(negative);
    return list;
}

bool sameBox(const RegionBox& a, const RegionBox& b) {
    constexpr double kTolerance = 0.005;
    return std::abs(a.north - b.north) < kTolerance && std::abs(a.west - b.west) < kTolerance &&
           std::abs(a.latExtent - b.latExtent) < kTolerance &&
           std::abs(a.lonExtent - b.lonExtent) < kTolerance;
}

}  // namespace

RegionWindow::RegionWindow(const LanguagePack& pack, Prompter& prompter, const QImage& map,
                           QWidget* owner)
    : QDialog(owner), pack_(pack), prompter_(prompter) {
    setFont(uiFont());
    setWindowTitle(uiText(pack_.text(TextId::RegionTitle)));
    const auto label = [this](TextId id) {
        auto* text = new QLabel(uiText(pack_.text(id)) + QLatin1Char(':'), this);
        text->setTextFormat(Qt::PlainText);
        return text;
    };

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    preset_ = new QComboBox(this);
    preset_->setObjectName(QStringLiteral("preset"));
    preset_->addItem(QStringLiteral("—"));
    for (const BasinPreset& basin : basinPresets())
        preset_->addItem(uiText(pack_.text(basin.nameId)));
    grid->addWidget(label(TextId::RegionPresetLabel), 0, 0);
    grid->addWidget(preset_, 0, 1, 1, 3);

    north_ = degreesBox("north", 90, 0, this);
    northSide_ = sideList("northSide", QLatin1Char('N'), QLatin1Char('S'), this);
    west_ = degreesBox("west", 180, 0, this);
    westSide_ = sideList("westSide", QLatin1Char('E'), QLatin1Char('W'), this);
    latExtent_ = degreesBox("latExtent", 180, kSmallestExtent, this);
    lonExtent_ = degreesBox("lonExtent", kLongestTypedExtent, kSmallestExtent, this);
    grid->addWidget(label(TextId::RegionNorthLabel), 1, 0);
    grid->addWidget(north_, 1, 1);
    grid->addWidget(northSide_, 1, 2);
    grid->addWidget(label(TextId::RegionWestLabel), 2, 0);
    grid->addWidget(west_, 2, 1);
    grid->addWidget(westSide_, 2, 2);
    grid->addWidget(label(TextId::RegionLatExtentLabel), 3, 0);
    grid->addWidget(latExtent_, 3, 1);
    grid->addWidget(label(TextId::RegionLonExtentLabel), 4, 0);
    grid->addWidget(lonExtent_, 4, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);

    auto* hint = new QLabel(uiText(pack_.text(TextId::RegionDragHint)), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    map_ = new RegionMapView(this);
    map_->setObjectName(QStringLiteral("map"));
    map_->setMap(map);
    layout->addWidget(map_, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(uiText(pack_.text(TextId::OkButton)), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(uiText(pack_.text(TextId::CancelButton)), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &RegionWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(preset_, &QComboBox::activated, this, &RegionWindow::choosePreset);
    for (QDoubleSpinBox* box : {north_, west_, latExtent_, lonExtent_}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, &RegionWindow::followFields);
    }
    for (QComboBox* side : {northSide_, westSide_}) {
        connect(side, &QComboBox::currentIndexChanged, this, &RegionWindow::followFields);
    }
    connect(map_, &RegionMapView::regionDrawn, this, &RegionWindow::setRegion);

    setRegion(RegionBox{});
    fitOnScreen(this, owner);
}

void RegionWindow::setRegion(const RegionBox& box) {
    filling_ = true;
    north_->setValue(std::abs(box.north));
    northSide_->setCurrentIndex(box.north < 0 ? 1 : 0);
    west_->setValue(std::abs(box.west));
    westSide_->setCurrentIndex(box.west < 0 ? 1 : 0);
    lonExtent_->setValue(box.lonExtent);
    filling_ = false;
    // The extent's limit follows the north edge: set once that is in place.
    followFields();
    latExtent_->setValue(box.latExtent);
}

RegionBox RegionWindow::region() const {
    RegionBox box;
    box.north = northSide_->currentIndex() == 1 ? -north_->value() : north_->value();
    box.west = westSide_->currentIndex() == 1 ? -west_->value() : west_->value();
    box.latExtent = latExtent_->value();
    box.lonExtent = lonExtent_->value();
    return box;
}

void RegionWindow::choosePreset(int index) {
    const auto presets = basinPresets();
    if (index < 1 || size_t(index) > presets.size()) return;
    setRegion(presets[size_t(index) - 1].box);
}

void RegionWindow::followFields() {
    if (filling_) return;
    // The south edge stays on the map: at most down to 90°S.
    const double north = northSide_->currentIndex() == 1 ? -north_->value() : north_->value();
    latExtent_->setMaximum(std::max(kSmallestExtent, north + 90));
    const RegionBox box = region();
    map_->setRegion(box);
    int matching = 0;
    const auto presets = basinPresets();
    for (size_t index = 0; index < presets.size(); ++index) {
        if (sameBox(presets[index].box, box)) matching = int(index) + 1;
    }
    const QSignalBlocker quiet(preset_);
    preset_->setCurrentIndex(matching);
}

void RegionWindow::accept() {
    const RegionBox box = region();
    if (box.lonExtent > kMaxLongitudeExtent) {
        prompter_.message(
            safeFormat(pack_.text(TextId::RegionTooWide), {formatG(box.lonExtent, 13)}),
            pack_.text(TextId::RegionTitle), Prompter::Icon::Warning, Prompter::Buttons::Ok,
            Prompter::Answer::Ok);
        lonExtent_->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace tcmap
