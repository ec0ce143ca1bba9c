// The arrows of a spinner control: a button up and a button down, stacked, that
// repeat while held.
#pragma once

#include <QWidget>
#include <functional>

class QToolButton;

class SpinnerArrows : public QWidget {
public:
    // onStep hears +1 for a step up and -1 for a step down.
    SpinnerArrows(std::function<void(int)> onStep, QWidget* parent = nullptr);

    QToolButton* Up() const { return up; }
    QToolButton* Down() const { return down; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up;
    QToolButton* down;
};
