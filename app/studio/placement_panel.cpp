#include "app/studio/placement_panel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

const double kMaxTranslate = 1e6;  // world units either way
const double kMinScale = 0.001, kMaxScale = 1000.0;

QDoubleSpinBox* Spinner(double low, double high, double step, int decimals, const QString& tip) {
    auto* spin = new QDoubleSpinBox;
    spin->setRange(low, high);
    spin->setSingleStep(step);
    spin->setDecimals(decimals);
    // A typed value counts once it is complete (Enter or leaving the field), not
    // at every digit.
    spin->setKeyboardTracking(false);
    spin->setAccelerated(true);
    spin->setToolTip(tip);
    // Narrow enough that three in a row fit the command panel's width.
    spin->setMaximumWidth(84);
    return spin;
}

}  // namespace

PlacementPanel::PlacementPanel(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(4);
    const char* axes[3] = {"X", "Y", "Z"};
    grid->addWidget(new QLabel(tr("Move")), 0, 0);
    grid->addWidget(new QLabel(tr("Rotate")), 1, 0);
    for (int a = 0; a < 3; ++a) {
        translate[a] =
            Spinner(-kMaxTranslate, kMaxTranslate, 0.1, 3,
                    tr("Moves the shape along world %1 from where the fit put it "
                       "(world units, %2 to %3); shift-drag in the viewport does the same")
                        .arg(axes[a])
                        .arg(-kMaxTranslate)
                        .arg(kMaxTranslate));
        translate[a]->setPrefix(QString(axes[a]) + " ");
        rotate[a] = Spinner(-360.0, 360.0, 5.0, 1,
                            tr("Turns the shape about %1 through the fitted shape's centre "
                               "(degrees, -360 to 360; x, then y, then z)")
                                .arg(axes[a]));
        rotate[a]->setPrefix(QString(axes[a]) + " ");
        rotate[a]->setWrapping(true);
        grid->addWidget(translate[a], 0, a + 1);
        grid->addWidget(rotate[a], 1, a + 1);
    }
    scale = Spinner(kMinScale, kMaxScale, 0.05, 3,
                    tr("Scales the shape about the fitted shape's centre (%1 to %2; 1 is the "
                       "fit's 80% of the object's footprint)")
                        .arg(kMinScale)
                        .arg(kMaxScale));
    scale->setValue(1.0);
    grid->addWidget(new QLabel(tr("Scale")), 2, 0);
    grid->addWidget(scale, 2, 1);
    fit = new QPushButton(tr("Fit to object"));
    fit->setToolTip(
        tr("Places the shape by the automatic fit alone: centred over the object, "
           "80% of its footprint, flat above it, projecting straight down"));
    grid->addWidget(fit, 2, 2, 1, 2);
    upBox = new QComboBox;
    upBox->addItem(tr("Z"));
    upBox->addItem(tr("Y"));
    upBox->setToolTip(
        tr("Which axis of the mesh is up, for the fit: Z (most formats) or Y "
           "(glTF, many OBJ exports); a glTF result keeps it"));
    grid->addWidget(new QLabel(tr("Up")), 3, 0);
    grid->addWidget(upBox, 3, 1);
    grid->setColumnStretch(4, 1);

    auto heard = [this] {
        if (!showing && changed)
            changed(Placement());
    };
    for (QDoubleSpinBox* spin :
         {translate[0], translate[1], translate[2], rotate[0], rotate[1], rotate[2], scale})
        connect(spin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, heard);
    connect(upBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (!showing && upChanged)
            upChanged(index == 1 ? slitform::UpAxis::Y : slitform::UpAxis::Z);
    });
    connect(fit, &QPushButton::clicked, this, [this] {
        if (fitRequested)
            fitRequested();
    });
}

void PlacementPanel::Show(const NodeTransform& placement, slitform::UpAxis up) {
    showing = true;
    upBox->setCurrentIndex(up == slitform::UpAxis::Y ? 1 : 0);
    const float t[3] = {placement.translate.x, placement.translate.y, placement.translate.z};
    const float r[3] = {placement.rotateDegrees.x, placement.rotateDegrees.y,
                        placement.rotateDegrees.z};
    for (int a = 0; a < 3; ++a) {
        translate[a]->setValue(static_cast<double>(t[a]));
        rotate[a]->setValue(static_cast<double>(r[a]));
    }
    scale->setValue(static_cast<double>(placement.scale));
    showing = false;
}

NodeTransform PlacementPanel::Placement() const {
    auto f = [](const QDoubleSpinBox* spin) { return static_cast<float>(spin->value()); };
    NodeTransform t;
    t.given = true;
    t.translate = Point3(f(translate[0]), f(translate[1]), f(translate[2]));
    t.rotateDegrees = Point3(f(rotate[0]), f(rotate[1]), f(rotate[2]));
    t.scale = f(scale);
    return t;
}
