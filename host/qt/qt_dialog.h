// A host dialog shown in Qt widgets: one widget per control, placed from the
// template's rectangles in dialog units. The widgets follow every change of the
// controls' state; the user's clicks, typing and spinning go back to the host as
// the user's actions on the dialog.
#pragma once

#include <QFont>
#include <QWidget>
#include <functional>
#include <map>

#include "dialog_units.h"
#include "dialogs.h"

class IParamMap2;

class QtDialog : public QWidget {
public:
    // Takes the dialog window, the parameter map whose rollout it is (nullptr for a
    // dialog without one: spinners and edit fields then keep what the user enters
    // themselves) and the dialog font. The dialog window must outlive the widget.
    QtDialog(HWND dialog, IParamMap2* map, const QFont& font, QWidget* parent = nullptr);
    ~QtDialog() override;

    HWND Dialog() const { return dialog; }
    DialogBaseUnits Units() const { return units; }
    // The widget showing the control with this ID, or nullptr.
    QWidget* ControlWidget(int id) const;

private:
    void Follow(HWND hWnd);
    void HostChanged(HWND hWnd);
    void FollowChildren();
    void AddControl(HWND control);
    void Show(HWND control);
    void Clicked(HWND control);
    void Typed(HWND edit);
    void Spun(HWND spinner, int direction);
    HWND Partner(const std::map<int, int>& pairs, HWND control) const;

    HWND dialog;
    IParamMap2* map;
    DialogBaseUnits units;
    std::map<HWND, QWidget*> widgets;
    // The hooks the windows had before this back end followed them.
    std::map<HWND, std::function<void(HWND)>> previousHooks;
    // Edit fields and spinners that the map binds to one parameter, both ways.
    std::map<int, int> spinnerOfEdit, editOfSpinner;
};
