#include "spinner_arrows.h"

#include <QToolButton>

namespace {

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

SpinnerArrows::SpinnerArrows(std::function<void(int)> onStep, QWidget* parent)
    : QWidget(parent), up(ArrowButton(Qt::UpArrow, this)), down(ArrowButton(Qt::DownArrow, this)) {
    QObject::connect(up, &QToolButton::clicked, this, [onStep] { onStep(1); });
    QObject::connect(down, &QToolButton::clicked, this, [onStep] { onStep(-1); });
}

void SpinnerArrows::resizeEvent(QResizeEvent*) {
    int upper = height() / 2;
    up->setGeometry(0, 0, width(), upper);
    down->setGeometry(0, upper, width(), height() - upper);
}
