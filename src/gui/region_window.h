// The region of a Regional job: the north and west edges with their
// hemispheres, the extents, a list of ocean basins and the world map to draw
// the region on. OK refuses what no map can show, with the reason; the
// caller stores and uses regionText().
#pragma once

#include <QDialog>
#include <QImage>
#include <string>

#include "app/region_box.h"
#include "i18n/language_pack.h"

class QComboBox;
class QDoubleSpinBox;

namespace tcmap {

class Prompter;
class RegionMapView;

class RegionWindow : public QDialog {
    Q_OBJECT

  public:
    RegionWindow(const LanguagePack& pack, Prompter& prompter, const QImage& map, QWidget* owner);

    void setRegion(const RegionBox& box);
    RegionBox region() const;
    // The four parts as the region prompt took them: "60,100,60,80".
    std::string regionText() const { return tcmap::regionText(region()); }

    void accept() override;

  private:
    void choosePreset(int index);
    void followFields();

    LanguagePack pack_;
    Prompter& prompter_;
    QComboBox* preset_ = nullptr;
    QDoubleSpinBox* north_ = nullptr;
    QComboBox* northSide_ = nullptr;
    QDoubleSpinBox* west_ = nullptr;
    QComboBox* westSide_ = nullptr;
    QDoubleSpinBox* latExtent_ = nullptr;
    QDoubleSpinBox* lonExtent_ = nullptr;
    RegionMapView* map_ = nullptr;
    bool filling_ = false;  // the fields are being set together
};

}  // namespace tcmap
