#include "qt_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cmath>

#include "custcont.h"
#include "iparamb2.h"
#include "spinner_arrows.h"

namespace {

enum class Kind {
    CheckBox,
    Radio,
    GroupBox,
    PushButton,
    PickButton,
    Label,
    Edit,
    Spinner,
    Image,
    Progress
};

Kind KindOf(HWND control) {
    const std::string& c = control->className;
    if (c == "Button") {
        switch (control->style & 0xF) {
            case BS_AUTOCHECKBOX:
                return Kind::CheckBox;
            case BS_AUTORADIOBUTTON:
                return Kind::Radio;
            case BS_GROUPBOX:
                return Kind::GroupBox;
            default:
                return Kind::PushButton;
        }
    }
    if (c == "CustButton")
        return Kind::PickButton;
    if (c == "CustEdit")
        return Kind::Edit;
    if (c == "SpinnerControl")
        return Kind::Spinner;
    if (c == "CustImage")
        return Kind::Image;
    if (c == "msctls_progress32")
        return Kind::Progress;
    return Kind::Label;  // "Static", and any class the back end does not draw itself
}

QString Text(HWND control) {
    return QString::fromStdWString(control->text);
}

// A static control's alignment from the low bits of its style: 1 centre, 2 right.
Qt::Alignment LabelAlignment(DWORD style) {
    switch (style & 0x3) {
        case 1:
            return Qt::AlignHCenter | Qt::AlignTop;
        case 2:
            return Qt::AlignRight | Qt::AlignTop;
        default:
            return Qt::AlignLeft | Qt::AlignTop;
    }
}

QPixmap PixmapOf(const HostBitmap& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.bgr.size() < static_cast<size_t>(image.width) * image.height * 3)
        return QPixmap();
    QImage picture(image.bgr.data(), image.width, image.height, image.width * 3,
                   QImage::Format_BGR888);
    return QPixmap::fromImage(picture.copy());
}

}  // namespace

QtDialog::QtDialog(HWND dialog, IParamMap2* map, const QFont& font, QWidget* parent)
    : QWidget(parent), dialog(dialog), map(map), units(DialogBaseUnitsOf(font)) {
    setFont(font);
    if (map && map->GetParamBlock()) {
        for (const ParamDef& def : map->GetParamBlock()->GetDesc()->params) {
            if (def.mapID != map->GetMapID() || def.ctrlType != TYPE_SPINNER ||
                def.ctrlIDs.size() < 2)
                continue;
            spinnerOfEdit[def.ctrlIDs[0]] = def.ctrlIDs[1];
            editOfSpinner[def.ctrlIDs[1]] = def.ctrlIDs[0];
        }
    }
    QRect size = DialogRectToPixels(0, 0, dialog->width, dialog->height, units);
    setFixedSize(size.width(), size.height());
    Follow(dialog);
    FollowChildren();
    setEnabled(dialog->enabled);
}

QtDialog::~QtDialog() {
    for (auto& [hWnd, hook] : previousHooks) hWnd->changed = hook;
}

QWidget* QtDialog::ControlWidget(int id) const {
    for (HWND child : dialog->children)
        if (child->id == id) {
            auto found = widgets.find(child);
            return found == widgets.end() ? nullptr : found->second;
        }
    return nullptr;
}

void QtDialog::Follow(HWND hWnd) {
    std::function<void(HWND)> previous = hWnd->changed;
    previousHooks[hWnd] = previous;
    // Whoever followed the window before keeps hearing of its changes.
    hWnd->changed = [this, previous](HWND changed) {
        if (previous)
            previous(changed);
        HostChanged(changed);
    };
}

void QtDialog::HostChanged(HWND hWnd) {
    if (hWnd == dialog) {
        FollowChildren();
        setEnabled(dialog->enabled);
        setVisible(dialog->visible);
        return;
    }
    if (!widgets.count(hWnd))
        return;
    Show(hWnd);
    if (HWND edit = Partner(editOfSpinner, hWnd))
        Show(edit);
}

void QtDialog::FollowChildren() {
    // Windows destroyed since: their widgets go; their hooks went with them.
    for (auto it = widgets.begin(); it != widgets.end();) {
        const auto& children = dialog->children;
        if (std::find(children.begin(), children.end(), it->first) != children.end()) {
            ++it;
            continue;
        }
        previousHooks.erase(it->first);
        delete it->second;
        it = widgets.erase(it);
    }
    for (HWND child : dialog->children)
        if (!widgets.count(child))
            AddControl(child);
}

void QtDialog::AddControl(HWND control) {
    QWidget* widget = nullptr;
    Kind kind = KindOf(control);
    switch (kind) {
        case Kind::CheckBox: {
            auto* box = new QCheckBox(this);
            connect(box, &QCheckBox::clicked, this, [this, control] { Clicked(control); });
            widget = box;
            break;
        }
        case Kind::Radio: {
            auto* radio = new QRadioButton(this);
            // The host keeps the group: a button the host clears must be able to clear.
            radio->setAutoExclusive(false);
            connect(radio, &QRadioButton::clicked, this, [this, control] { Clicked(control); });
            widget = radio;
            break;
        }
        case Kind::PushButton:
        case Kind::PickButton: {
            auto* button = new QPushButton(this);
            // The pick button stays down while it waits for a node.
            button->setCheckable(kind == Kind::PickButton);
            connect(button, &QPushButton::clicked, this, [this, control] { Clicked(control); });
            widget = button;
            break;
        }
        case Kind::GroupBox:
            widget = new QGroupBox(this);
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
            break;
        case Kind::Edit: {
            auto* edit = new QLineEdit(this);
            connect(edit, &QLineEdit::editingFinished, this, [this, control] { Typed(control); });
            widget = edit;
            break;
        }
        case Kind::Spinner:
            widget = new SpinnerArrows([this, control](int direction) { Spun(control, direction); },
                                       this);
            break;
        case Kind::Image: {
            auto* label = new QLabel(this);
            label->setAlignment(Qt::AlignCenter);
            widget = label;
            break;
        }
        case Kind::Progress:
            widget = new QProgressBar(this);
            break;
        case Kind::Label: {
            auto* label = new QLabel(this);
            label->setAlignment(LabelAlignment(control->style));
            label->setWordWrap(true);
            widget = label;
            break;
        }
    }
    widget->setGeometry(
        DialogRectToPixels(control->x, control->y, control->width, control->height, units));
    // A group box is drawn behind the controls it frames.
    if (kind == Kind::GroupBox)
        widget->lower();
    else
        widget->raise();
    widgets[control] = widget;
    Follow(control);
    Show(control);
}

HWND QtDialog::Partner(const std::map<int, int>& pairs, HWND control) const {
    auto found = pairs.find(control->id);
    return found == pairs.end() ? nullptr : GetDlgItem(dialog, found->second);
}

void QtDialog::Show(HWND control) {
    QWidget* widget = widgets.at(control);
    bool enabled = control->enabled;
    // An edit field is part of its spinner: it takes input only while both are on.
    if (HWND spinner = Partner(spinnerOfEdit, control))
        enabled = enabled && spinner->enabled;
    widget->setEnabled(enabled);
    widget->setVisible(control->visible);
    bool checked = control->checked == BST_CHECKED;
    switch (KindOf(control)) {
        case Kind::CheckBox:
        case Kind::Radio:
        case Kind::PushButton:
        case Kind::PickButton: {
            auto* button = static_cast<QAbstractButton*>(widget);
            button->setText(Text(control));
            if (button->isCheckable())
                button->setChecked(checked);
            break;
        }
        case Kind::GroupBox:
            static_cast<QGroupBox*>(widget)->setTitle(Text(control));
            break;
        case Kind::Edit: {
            auto* edit = static_cast<QLineEdit*>(widget);
            if (edit->text() != Text(control))
                edit->setText(Text(control));
            break;
        }
        case Kind::Spinner: {
            const SpinnerState* s = SpinnerOf(control);
            widget->setToolTip(QString::number(static_cast<double>(s->value)));
            break;
        }
        case Kind::Image: {
            const ImageState* s = ImageOf(control);
            static_cast<QLabel*>(widget)->setPixmap(s->set ? PixmapOf(s->image) : QPixmap());
            break;
        }
        case Kind::Progress: {
            auto* bar = static_cast<QProgressBar*>(widget);
            bar->setRange(control->rangeLow, std::max(control->rangeLow, control->rangeHigh));
            bar->setValue(std::clamp(control->position, bar->minimum(), bar->maximum()));
            break;
        }
        case Kind::Label:
            static_cast<QLabel*>(widget)->setText(Text(control));
            break;
    }
}

void QtDialog::Clicked(HWND control) {
    QPointer<QtDialog> alive(this);
    HostClickButton(dialog, control->id);
    // The widget has toggled itself; the host's state decides (the procedure may
    // also have closed the rollout).
    if (alive && widgets.count(control))
        Show(control);
}

void QtDialog::Typed(HWND edit) {
    QString text = static_cast<QLineEdit*>(widgets.at(edit))->text();
    if (text == Text(edit))
        return;
    HWND spinner = Partner(spinnerOfEdit, edit);
    if (!spinner) {
        SetDlgItemTextW(dialog, edit->id, text.toStdWString().c_str());
        return;
    }
    bool number = false;
    double value = text.trimmed().toDouble(&number);
    QPointer<QtDialog> alive(this);
    if (number && std::isfinite(value))
        map->UserSetSpinner(spinner->id, static_cast<float>(value));
    // Text that is no number, or a value the spinner refused, gives way to what the
    // control holds.
    if (alive && widgets.count(edit))
        Show(edit);
}

void QtDialog::Spun(HWND spinner, int direction) {
    const SpinnerState* s = SpinnerOf(spinner);
    float step = s->step;
    // Automatic scaling steps by a hundredth of the value once that is larger.
    if (s->autoScale)
        step = std::max(step, std::fabs(s->value) * 0.01f);
    if (s->editType == EDITTYPE_INT)
        step = std::max(step, 1.0f);
    float value = s->value + static_cast<float>(direction) * step;
    if (map) {
        map->UserSetSpinner(spinner->id, value);
        return;
    }
    ISpinnerControl control(spinner);
    control.SetValue(value, TRUE);
}
