#include "app/studio/rollout.h"

#include <QToolButton>
#include <QVBoxLayout>

Rollout::Rollout(const QString& title, QWidget* body, bool open, QWidget* parent)
    : QWidget(parent), titleBar(new QToolButton(this)), holder(new QWidget(this)), body(body) {
    titleBar->setText(title);
    titleBar->setCheckable(true);
    titleBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    titleBar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(titleBar);
    layout->addWidget(holder);
    auto* inside = new QVBoxLayout(holder);
    inside->setContentsMargins(0, 0, 0, 0);
    inside->addWidget(body, 0, Qt::AlignHCenter);
    connect(titleBar, &QToolButton::toggled, this, [this](bool on) { SetOpen(on); });
    SetOpen(open);
}

bool Rollout::IsOpen() const {
    return titleBar->isChecked();
}

void Rollout::SetOpen(bool open) {
    titleBar->setChecked(open);
    titleBar->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    holder->setVisible(open);
}
