#include "AnimationPatcher.h"

#include "Artwork.h"
#include "Commands.h"
#include "FancyButton.h"
#include "LineListModel.h"
#include "LoadStep.h"
#include "MessageBox.h"
#include "TextDecoding.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QListView>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>
#include <algorithm>

namespace zorby::ui {

namespace {

// The layout has fixed sizes; on a desktop whose fonts run wide, a caption shrinks until it fits
// rather than being cut off.
void ShrinkFontToFit(QWidget* widget, const QString& text, int extraWidth) {
    QFont font = widget->font();
    while (font.pointSizeF() > 6.0 &&
           QFontMetrics(font).horizontalAdvance(text) + extraWidth > widget->width()) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    widget->setFont(font);
}

} // namespace

AnimationPatcher::AnimationPatcher(std::string helpPage, MessagePresenter presenter, QWidget* parent)
    : WorkspaceWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), helpPage_(std::move(helpPage)),
      presenter_(presenter ? std::move(presenter) : MessagePresenter(ShowMessageBox)) {
    setObjectName("AnimationPatcher");
    setWindowTitle(kMainWindowTitle);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    // The layout is measured for a small dialog font; the desktop's larger default would clip captions.
    QFont dialogFont = font();
    dialogFont.setPointSizeF(8.0);
    setFont(dialogFont);
    BuildArea(Area::Command);
    SetTabOrder(View::Compact);
    SetOuterSizeTwips(kCompactOuter.width, kCompactOuter.height);
}

AnimationPatcher::~AnimationPatcher() {
    SetBusyPointer(false);
}

// The debug area is built on the first switch to the debug view: the compact view, which is all most
// players ever see, starts without fourteen list views it does not show.
void AnimationPatcher::BuildArea(Area area) {
    for (const ControlEntry& entry : MainWindowControls()) {
        if (entry.area == area) {
            QWidget* widget = AddControl(entry);
            widget->setObjectName(entry.name);
            widget->show(); // also when the debug area is built after the window is up
            controls_.emplace(entry.name, widget);
        }
    }
    if (area == Area::Debug) {
        debugAreaBuilt_ = true;
        PlaceDebugArea();
        // What the load step asked of these before they existed.
        for (const auto& [control, visible] : debugVisibility_) {
            Widget(control)->setVisible(visible);
        }
    }
}

// The debug area's controls where the lists' squeeze puts them.
void AnimationPatcher::PlaceDebugArea() {
    for (const ControlEntry& entry : MainWindowControls()) {
        const auto found = controls_.find(entry.name);
        if (entry.area == Area::Debug && found != controls_.end()) {
            found->second->setGeometry(PixelRect(PlaceInView(entry, listScale_)));
        }
    }
}

QWidget* AnimationPatcher::AddControl(const ControlEntry& entry) {
    const QString caption = QString::fromUtf8(entry.caption);
    switch (entry.kind) {
    case ControlKind::ImageButton: {
        auto* button = new FancyButton(this);
        button->SetCaption(caption);
        button->SetBackColor(palette().color(QPalette::Button));
        button->move(Px(entry.rect.left), Px(entry.rect.top));
        connect(button, &FancyButton::Click, this, [this, action = entry.action] { Press(action); });
        return button;
    }
    case ControlKind::PictureButton: {
        auto* button = new QPushButton(this);
        button->setGeometry(PixelRect(entry.rect));
        button->setIcon(DebugButtonIcon());
        button->setIconSize({24, 24});
        button->setToolTip("Show or hide the work lists");
        connect(button, &QPushButton::clicked, this, [this, action = entry.action] { Press(action); });
        return button;
    }
    case ControlKind::ProgressBar:
        PatchProgress = new QProgressBar(this);
        PatchProgress->setGeometry(PixelRect(entry.rect));
        PatchProgress->setRange(0, 100);
        PatchProgress->setValue(0);
        PatchProgress->setTextVisible(false);
        return PatchProgress;
    case ControlKind::Line: {
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        const int left = Px(entry.rect.left);
        line->setGeometry(left, Px(entry.rect.top) - 1, Px(entry.rect.left + entry.rect.width) - left + 1, 2);
        return line;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(caption, this);
        box->setGeometry(PixelRect(entry.rect));
        box->setChecked(true);
        const int indicator = box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
                              box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
        ShrinkFontToFit(box, caption, indicator + 2);
        return box;
    }
    case ControlKind::List:
        return AddList(workspace_.*entry.list, entry.rect);
    default: {
        auto* label = new QLabel(caption, this);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(PixelRect(entry.rect));
        if (entry.kind == ControlKind::Heading) {
            QFont bold = label->font();
            bold.setBold(true);
            label->setFont(bold);
        } else {
            ShrinkFontToFit(label, caption, 2);
        }
        return label;
    }
    }
}

// The lists are there to read whole lines: a fixed-pitch font keeps the indentation of the file in line
// and lets the widest line be found by counting characters; every row is sized by that line, so each
// list scrolls sideways as far as its widest line goes. Uniform item sizes keep a layout of 32,768 lines
// to one measurement.
QListView* AnimationPatcher::AddList(LineList& list, const TwipRect& rect) {
    auto* view = new QListView(this);
    view->setGeometry(PixelRect(rect));
    QFont fixedPitch = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixedPitch.setPointSizeF(font().pointSizeF());
    view->setFont(fixedPitch);
    view->setUniformItemSizes(true);
    view->setItemDelegate(new WidestLineDelegate(view));
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setModel(new LineListModel(list, view));
    return view;
}

void AnimationPatcher::SetTabOrder(View view) {
    QWidget* previous = nullptr;
    for (const ControlEntry* entry : TabOrder(MainWindowControls(), view)) {
        QWidget* widget = controls_.at(entry->name);
        if (widget->focusPolicy() == Qt::NoFocus) {
            continue;
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

Flow AnimationPatcher::Load() {
    Place();
    const Flow flow = RunLoadStep(workspace_, *this, helpPage_);
    // The keyboard starts on the first control the player can use: the load step hides some and greys
    // out others. The window takes the focus there when it is first shown.
    if (const ControlEntry* first =
            FirstFocus(MainWindowControls(), View::Compact, [this](const ControlEntry& entry) {
                const QWidget* widget = controls_.at(entry.name);
                const auto* button = qobject_cast<const FancyButton*>(widget);
                return !widget->isHidden() && widget->isEnabled() && (button == nullptr || button->Enabled());
            })) {
        controls_.at(first->name)->setFocus(Qt::OtherFocusReason);
    }
    return flow;
}

ScreenRect AnimationPatcher::WorkArea() const {
    const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QRect work = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    return {work.x(), work.y(), work.width(), work.height()};
}

// The frame the window manager draws; before the first show it is not known, and the layout's stands in.
ScreenSize AnimationPatcher::FramePixels() const {
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    if (frame.isNull()) {
        return {Px(kMainFrame.width), Px(kMainFrame.height)};
    }
    return {frame.left() + frame.right(), frame.top() + frame.bottom()};
}

void AnimationPatcher::Place() {
    const ScreenSize frame = FramePixels();
    const ScreenPoint at =
        OpeningPosition(WorkArea(), kCompactOuter, {width() + frame.width, height() + frame.height}, 96);
    move(at.x, at.y);
}

QSize AnimationPatcher::OuterSizeTwips() const {
    return {width() * kTwipsPerPixel + kMainFrame.width, height() * kTwipsPerPixel + kMainFrame.height};
}

void AnimationPatcher::SetOuterSizeTwips(int width, int height) {
    setFixedSize(Px(width - kMainFrame.width), Px(height - kMainFrame.height));
}

// The debug view fits the work area: the window moves up as far as it must, and on a screen too low even
// for that the lists are squeezed (FitMainWindow). Qt lays out in pixels at 96 dots per inch and scales
// them for the screen itself.
void AnimationPatcher::ToggleDebugView() {
    const View view = ToggledOuterSize({OuterSizeTwips().width(), OuterSizeTwips().height()}) == kDebugOuter
                          ? View::Debug
                          : View::Compact;
    const MainWindowFit fit = FitMainWindow(view, {pos().x(), pos().y()}, WorkArea(), FramePixels(), 96);
    if (view == View::Debug) {
        const bool moved = fit.listScale != listScale_;
        listScale_ = fit.listScale;
        if (!debugAreaBuilt_) {
            BuildArea(Area::Debug);
            SetTabOrder(View::Debug);
        } else if (moved) {
            PlaceDebugArea();
        }
    }
    const TwipSize client = ClientSize(view, fit.listScale);
    const TwipSize target{client.width + kMainFrame.width, client.height + kMainFrame.height};
    SetOuterSizeTwips(OuterSizeTwips().width(), target.height);
    SetOuterSizeTwips(target.width, target.height);
    move(fit.outer.left, fit.outer.top);
}

Answer AnimationPatcher::ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                                     MessageButtons buttons) {
    // The player has asked to close the program: a question after that gets the same answer.
    if (closeRequested_ && buttons != MessageButtons::Ok) {
        return Answer::Closed;
    }
    return presenter_(this, TextFromMessage(title), TextFromMessage(text), icon, buttons);
}

void AnimationPatcher::SetProgress(float value) {
    PatchProgress->setValue(static_cast<int>(value));
}

void AnimationPatcher::Redraw() {
    // The merge asks for a redraw before every add-on item, and only the progress bar changes while it
    // runs: painting the window again only when the bar has moved keeps a patch of thousands of items
    // from spending most of its time painting (at most 101 paints a merge).
    if (PatchProgress->value() == paintedProgress_) {
        return;
    }
    paintedProgress_ = PatchProgress->value();
    repaint();
}

void AnimationPatcher::SetBusyPointer(bool busy) {
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

QWidget* AnimationPatcher::Widget(Control control) const {
    const auto found = controls_.find(Find(control).name);
    return found == controls_.end() ? nullptr : found->second;
}

void AnimationPatcher::SetVisible(Control control, bool visible) {
    if (QWidget* widget = Widget(control)) {
        widget->setVisible(visible);
    } else {
        debugVisibility_[control] = visible;
    }
}

void AnimationPatcher::SetEnabled(Control control, bool enabled) {
    if (auto* button = qobject_cast<FancyButton*>(Widget(control))) {
        button->SetEnabled(enabled);
        button->setToolTip(enabled ? QString() : QString::fromStdString(WhyDisabled(control)));
    } else {
        Widget(control)->setEnabled(enabled);
    }
}

bool AnimationPatcher::IsChecked(Control control) const {
    const auto* box = qobject_cast<const QCheckBox*>(Widget(control));
    return box != nullptr && box->checkState() != Qt::Unchecked;
}

// The engine builds links as plain text (a mail link keeps its spaces); QUrl's tolerant reading encodes
// them the way the desktop expects.
bool AnimationPatcher::OpenLink(const std::string& target) {
    return QDesktopServices::openUrl(QUrl(TextFromLine(target), QUrl::TolerantMode));
}

void AnimationPatcher::Finish(Flow flow) {
    if (ended_) {
        return;
    }
    ended_ = true;
    if (about_) {
        about_->close();
    }
    emit RunEnded(flow == Flow::Failed ? 1 : 0);
}

void AnimationPatcher::Press(Action action) {
    switch (action) {
    case Action::Patch:
        Finish(RunCommand(*this, [this] { return zorby::PatchCommand(workspace_, *this); }));
        break;
    case Action::Restore:
        Finish(RunCommand(*this, [this] { return zorby::RestoreCommand(*this); }));
        break;
    case Action::ShowAbout:
        frmAbout::ShowAbout(about_, *this, this);
        break;
    case Action::ToggleDebugView:
        ToggleDebugView();
        break;
    case Action::None:
    case Action::HideAbout: // the About box's own
        break;
    }
}

// Closing the window (or the program asked to quit) while a question is open is no answer to it: the
// question ends as closed, and the run ends with nothing changed.
void AnimationPatcher::closeEvent(QCloseEvent* event) {
    event->accept();
    closeRequested_ = true;
    for (QMessageBox* box : findChildren<QMessageBox*>()) {
        box->close();
    }
    Finish(Flow::Done);
}

} // namespace zorby::ui
