// One rollout of the command panel: a title bar that opens and closes it, and
// the rollout's dialog below.
#pragma once

#include <QWidget>

class QToolButton;

class Rollout : public QWidget {
public:
    // The rollout takes body.
    Rollout(const QString& title, QWidget* body, bool open, QWidget* parent = nullptr);

    bool IsOpen() const;
    void SetOpen(bool open);
    QToolButton* TitleBar() const { return titleBar; }
    QWidget* Body() const { return body; }

private:
    QToolButton* titleBar;
    QWidget* holder;  // hidden while closed, so that the body's own visibility stays its own
    QWidget* body;
};
