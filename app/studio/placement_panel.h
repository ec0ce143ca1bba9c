// The shape's placement as numbers: translation, rotation (degrees about x, y and
// z, in that order) and uniform scale, applied on top of the automatic fit as the
// command line's --shape-translate, --shape-rotate and --shape-scale are; "Fit to
// object" goes back to the fit alone. "Up" says which axis of the mesh is up (as
// the command line's --up), which the fit lays the shape over.
#pragma once

#include <QWidget>
#include <functional>

#include "session/node_transform.h"
#include "slitform/up_axis.h"

class QComboBox;
class QDoubleSpinBox;
class QPushButton;

class PlacementPanel : public QWidget {
public:
    explicit PlacementPanel(QWidget* parent = nullptr);

    // Shows the placement and the up axis without telling changed or upChanged.
    void Show(const NodeTransform& placement, slitform::UpAxis up);
    NodeTransform Placement() const;

    QDoubleSpinBox* Translate(int axis) const { return translate[axis]; }
    QDoubleSpinBox* Rotate(int axis) const { return rotate[axis]; }
    QDoubleSpinBox* Scale() const { return scale; }
    QPushButton* FitButton() const { return fit; }
    QComboBox* UpBox() const { return upBox; }

    // Hears every value the user sets, with the whole placement.
    std::function<void(const NodeTransform&)> changed;
    // Hears "Fit to object".
    std::function<void()> fitRequested;
    // Hears the user choose the up axis.
    std::function<void(slitform::UpAxis)> upChanged;

private:
    QDoubleSpinBox* translate[3];
    QDoubleSpinBox* rotate[3];
    QDoubleSpinBox* scale;
    QPushButton* fit;
    QComboBox* upBox;
    bool showing = false;  // values set by Show, not by the user
};
