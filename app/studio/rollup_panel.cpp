#include "app/studio/rollup_panel.h"

#include <QVBoxLayout>
#include <algorithm>

#include "app/studio/rollout.h"
#include "qt_dialog.h"
#include "resources.h"

RollupPanel::RollupPanel(HINSTANCE module, QWidget* parent)
    : QScrollArea(parent), module(module), column(new QVBoxLayout) {
    auto* content = new QWidget;
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(6);
    column->addStretch(1);
    content->setLayout(column);
    setWidget(content);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

RollupPanel::~RollupPanel() {
    // The dialogs' windows belong to the maps; stop following them first.
    for (auto& entry : rollouts) delete entry.second;
}

void RollupPanel::RolloutOpened(IParamMap2* map) {
    HWND dialog = map->GetHWnd();
    if (!dialog)
        return;
    const ParamMapDesc& desc = map->Desc();
    wchar_t title[256] = L"";
    LoadStringW(module, static_cast<UINT>(desc.title), title, 256);
    int pointSize = 8;
    if (const ModuleResources* res = GetModuleResources(module)) {
        auto found = res->dialogs.find(desc.dialogTemplate);
        if (found != res->dialogs.end())
            pointSize = found->second.fontSize;
    }
    auto* body = new QtDialog(dialog, map, DialogFont(pointSize));
    auto* rollout =
        new Rollout(QString::fromWCharArray(title), body, !(desc.rollupFlags & APPENDROLL_CLOSED));
    column->insertWidget(column->count() - 1, rollout);  // above the closing stretch
    rollouts.emplace_back(map, rollout);
    setMinimumWidth(
        std::max(minimumWidth(), body->width() + 2 * column->contentsMargins().left() + 24));
}

void RollupPanel::RolloutClosing(IParamMap2* map) {
    for (auto it = rollouts.begin(); it != rollouts.end(); ++it)
        if (it->first == map) {
            delete it->second;
            rollouts.erase(it);
            return;
        }
}

std::vector<IParamMap2*> RollupPanel::Maps() const {
    std::vector<IParamMap2*> maps;
    for (const auto& entry : rollouts) maps.push_back(entry.first);
    return maps;
}

Rollout* RollupPanel::RolloutOf(IParamMap2* map) const {
    for (const auto& entry : rollouts)
        if (entry.first == map)
            return entry.second;
    return nullptr;
}

QtDialog* RollupPanel::DialogOf(IParamMap2* map) const {
    Rollout* rollout = RolloutOf(map);
    return rollout ? static_cast<QtDialog*>(rollout->Body()) : nullptr;
}
