// The command panel: the rollouts the edited object opens, one under the other in
// a scrollable column, with their titles from the plug-in's string table. The
// panel is the interface the object's BeginEditParams and EndEditParams talk to.
#pragma once

#include <QScrollArea>
#include <map>

#include "iparamb2.h"

class QVBoxLayout;
class QtDialog;
class Rollout;

class RollupPanel : public QScrollArea, public Interface {
public:
    // module: the plug-in library whose strings and templates the rollouts use.
    explicit RollupPanel(HINSTANCE module, QWidget* parent = nullptr);
    ~RollupPanel() override;

    TimeValue GetTime() override { return 0; }
    void RolloutOpened(IParamMap2* map) override;
    void RolloutClosing(IParamMap2* map) override;

    // The open maps, in the order they opened.
    std::vector<IParamMap2*> Maps() const;
    Rollout* RolloutOf(IParamMap2* map) const;
    QtDialog* DialogOf(IParamMap2* map) const;

private:
    HINSTANCE module;
    QVBoxLayout* column;
    std::vector<std::pair<IParamMap2*, Rollout*>> rollouts;
};
