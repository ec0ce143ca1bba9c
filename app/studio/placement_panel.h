// The shape's placement as numbers: translation, rotation (degrees about x, y and
// z, in that order) and uniform scale, applied on top of the automatic fit as the
// command line's --shape-translate, --shape-rotate and --shape-scale are; "Fit to
// object" goes back to the fit alone.
#pragma once

#include <QWidget>
#include <functional>

#include "session/node_transform.h"

class QDoubleSpinBox;
class QPushButton;

class PlacementPanel : public QWidget {
public:
    explicit PlacementPanel(QWidget* parent = nullptr);

    // Shows the placement without telling changed.
    void Show(const NodeTransform& placement);
    NodeTransform Placement() const;

    QDoubleSpinBox* Translate(int axis) const { return translate[axis]; }
    QDoubleSpinBox* Rotate(int axis) const { return rotate[axis]; }
    QDoubleSpinBox* Scale() const { return scale; }
    QPushButton* FitButton() const { return fit; }

    // Hears every value the user sets, with the whole placement.
    std::function<void(const NodeTransform&)> changed;
    // Hears "Fit to object".
    std::function<void()> fitRequested;

private:
    QDoubleSpinBox* translate[3];
    QDoubleSpinBox* rotate[3];
    QDoubleSpinBox* scale;
    QPushButton* fit;
    bool showing = false;  // values set by Show, not by the user
};
