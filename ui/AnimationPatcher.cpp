#include "AnimationPatcher.h"

#include "Artwork.h"
#include "Commands.h"
#include "FancyButton.h"
#include "LineListModel.h"
#include "LoadStep.h"
#include "TextDecoding.h"
#include "Twips.h"
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
#include <algorithm>

namespace zorby::ui {

namespace {

QRect TwipRect(int left, int top, int width, int height) {
    return {Px(left), Px(top), Px(width), Px(height)};
}

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

Answer ShowMessageBox(QWidget* parent, const QString& title, const QString& text, MessageIcon icon,
                      MessageButtons buttons) {
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    if (icon == MessageIcon::Warning) {
        boxIcon = QMessageBox::Warning;
    } else if (icon == MessageIcon::Critical) {
        boxIcon = QMessageBox::Critical;
    }
    const auto standardButtons = buttons == MessageButtons::Ok ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                                               : QMessageBox::Yes | QMessageBox::No;
    QMessageBox box(boxIcon, title, text, standardButtons, parent);
    box.setTextFormat(Qt::PlainText);
    if (buttons == MessageButtons::YesNoDefaultNo) {
        box.setDefaultButton(QMessageBox::No);
    }
    const int result = box.exec();
    if (buttons == MessageButtons::Ok) {
        return Answer::Ok;
    }
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

} // namespace

AnimationPatcher::AnimationPatcher(std::string helpPage, MessagePresenter presenter, QWidget* parent)
    : WorkspaceWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), helpPage_(std::move(helpPage)),
      presenter_(presenter ? std::move(presenter) : MessagePresenter(ShowMessageBox)) {
    setObjectName("AnimationPatcher");
    setWindowTitle("Kestrin's EQUI_Animation.xml Patcher");
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    // The layout is measured for a small dialog font; the desktop's larger default would clip captions.
    QFont dialogFont = font();
    dialogFont.setPointSizeF(8.0);
    setFont(dialogFont);
    BuildCommandArea();
    SetOuterSizeTwips(kCompactOuterWidth, kCompactOuterHeight);
}

AnimationPatcher::~AnimationPatcher() {
    SetBusyPointer(false);
}

void AnimationPatcher::BuildCommandArea() {
    const QColor buttonFace = palette().color(QPalette::Button);
    const auto makeButton = [&](const char* name, const QString& caption, int left, int top) {
        auto* button = new FancyButton(this);
        button->setObjectName(name);
        button->SetCaption(caption);
        button->SetBackColor(buttonFace);
        button->move(Px(left), Px(top));
        return button;
    };
    PatchCommand = makeButton("PatchCommand", "Patch!", 120, 120);
    FancyButton1 = makeButton("FancyButton1", "About", 2880, 120);
    Restore_Animation = makeButton("Restore_Animation", "Restore", 2880, 1440);

    DebugButton = new QPushButton(this);
    DebugButton->setObjectName("DebugButton");
    DebugButton->setGeometry(TwipRect(1920, 120, 735, 495));
    DebugButton->setIcon(DebugButtonIcon());
    DebugButton->setIconSize({24, 24});
    DebugButton->setToolTip("Show or hide the work lists");

    DebugLabel = AddLabel("View Debug Info", "DebugLabel", 1560, 600, 1335, 255);

    PatchProgress = new QProgressBar(this);
    PatchProgress->setObjectName("PatchProgress");
    PatchProgress->setGeometry(TwipRect(120, 840, 4335, 255));
    PatchProgress->setRange(0, 100);
    PatchProgress->setValue(0);
    PatchProgress->setTextVisible(false);

    auto* line = new QFrame(this);
    line->setObjectName("Line1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(Px(120), Px(1200) - 1, Px(4440) - Px(120) + 1, 2);

    Backup_Animation = new QCheckBox("Backup EQUI_Animation.xml", this);
    Backup_Animation->setObjectName("Backup_Animation");
    Backup_Animation->setGeometry(TwipRect(120, 1560, 2535, 255));
    Backup_Animation->setChecked(true);
    const int indicator =
        Backup_Animation->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, Backup_Animation) +
        Backup_Animation->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, Backup_Animation);
    ShrinkFontToFit(Backup_Animation, Backup_Animation->text(), indicator + 2);
    ShrinkFontToFit(DebugLabel, DebugLabel->text(), 2);

    connect(PatchCommand, &FancyButton::Click, this, &AnimationPatcher::OnPatch);
    connect(Restore_Animation, &FancyButton::Click, this, &AnimationPatcher::OnRestore);
    connect(FancyButton1, &FancyButton::Click, this, &AnimationPatcher::OnAbout);
    connect(DebugButton, &QPushButton::clicked, this, &AnimationPatcher::ToggleDebugView);
}

// Built on the first switch to the debug view: the compact view, which is all most players ever see,
// starts without fourteen list views it does not show.
void AnimationPatcher::BuildDebugArea() {
    if (ZorAnimations != nullptr) {
        return;
    }
    Workspace& ws = workspace_;
    Anim_Label = AddLabel("Animations", "Anim_Label", 0, 2040, 3015, 255);
    Tex_Label = AddLabel("Textures", "Tex_Label", 3120, 2040, 3015, 255);
    QLabel* label2 = AddLabel("Items to Load", "Label2", 0, 2280, 6135, 255);
    ZorAnimations = AddList(ws.ZorAnimations, 0, 2520, 3015, 840);
    ZorTextures = AddList(ws.ZorTextures, 3120, 2520, 3015, 840);
    QListView* allZorAnimations = AddList(ws.AllZorAnimations, 0, 3360, 3015, 840);
    QListView* allZorTextures = AddList(ws.AllZorTextures, 3120, 3360, 3015, 840);
    QLabel* label3 = AddLabel("Existing Items", "Label3", 0, 4200, 6135, 255);
    QListView* animations = AddList(ws.Animations, 0, 4440, 3015, 840);
    QListView* textures = AddList(ws.Textures, 3120, 4440, 3015, 840);
    QListView* header = AddList(ws.Header, 6240, 4440, 2535, 1620);
    QListView* allAnimations = AddList(ws.AllAnimations, 0, 5280, 3015, 840);
    QListView* allTextures = AddList(ws.AllTextures, 3120, 5280, 3015, 840);
    QLabel* label1 = AddLabel("Temp Items", "Label1", 0, 6120, 6135, 255);
    QListView* allZorAnimationsTemp = AddList(ws.AllZorAnimationsTemp, 0, 6360, 3015, 645);
    QListView* allZorTexturesTemp = AddList(ws.AllZorTexturesTemp, 3120, 6360, 3015, 645);
    QListView* miscItems = AddList(ws.MiscItems, 6240, 6360, 2535, 1230);
    QListView* allAnimationsTemp = AddList(ws.AllAnimationsTemp, 0, 6960, 3015, 645);
    QListView* allTexturesTemp = AddList(ws.AllTexturesTemp, 3120, 6960, 3015, 645);
    for (QLabel* heading : {label1, label2, label3}) {
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
    }

    SetTabOrder({Backup_Animation,    DebugButton,     DebugLabel,         PatchCommand,   FancyButton1,
                 Restore_Animation,   PatchProgress,   animations,         header,         miscItems,
                 allAnimationsTemp,   allTexturesTemp, allZorTexturesTemp, allZorTextures, allZorAnimations,
                 allTextures,         allAnimations,   textures,           ZorTextures,    ZorAnimations,
                 allZorAnimationsTemp});
    // What the load step asked of these before they existed.
    for (const auto& [control, visible] : debugVisibility_) {
        Widget(control)->setVisible(visible);
    }
}

// The lists are there to read whole lines: a fixed-pitch font keeps the indentation of the file in line
// and lets the widest line be found by counting characters; every row is sized by that line, so each
// list scrolls sideways as far as its widest line goes. Uniform item sizes keep a layout of 32,768 lines
// to one measurement.
QListView* AnimationPatcher::AddList(LineList& list, int left, int top, int width, int height) {
    auto* view = new QListView(this);
    view->setObjectName(QString::fromStdString(list.Name()));
    view->setGeometry(TwipRect(left, top, width, height));
    QFont fixedPitch = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixedPitch.setPointSizeF(font().pointSizeF());
    view->setFont(fixedPitch);
    view->setUniformItemSizes(true);
    view->setItemDelegate(new WidestLineDelegate(view));
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setModel(new LineListModel(list, view));
    view->show();
    return view;
}

QLabel* AnimationPatcher::AddLabel(const QString& text, const char* name, int left, int top, int width,
                                   int height) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(TwipRect(left, top, width, height));
    label->show(); // also when the debug area is built after the window is up
    return label;
}

void AnimationPatcher::SetTabOrder(const std::vector<QWidget*>& byTabIndex) {
    QWidget* previous = nullptr;
    for (QWidget* widget : byTabIndex) {
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
    return RunLoadStep(workspace_, *this, helpPage_);
}

void AnimationPatcher::Place() {
    const QScreen* screen = this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    const QSize screenPixels = screen != nullptr ? screen->geometry().size() : QSize(1024, 768);
    const QSize outer = OuterSizeTwips();
    const TwipPoint position =
        MainWindowPosition(screenPixels.width() * kTwipsPerPixel, screenPixels.height() * kTwipsPerPixel,
                           outer.width(), outer.height());
    move(Px(position.left), Px(position.top));
}

QSize AnimationPatcher::OuterSizeTwips() const {
    return {width() * kTwipsPerPixel + kFrameWidthTwips, height() * kTwipsPerPixel + kFrameHeightTwips};
}

void AnimationPatcher::SetOuterSizeTwips(int width, int height) {
    setFixedSize(Px(width - kFrameWidthTwips), Px(height - kFrameHeightTwips));
}

void AnimationPatcher::ToggleDebugView() {
    if (OuterSizeTwips().height() == kCompactOuterHeight) {
        BuildDebugArea();
        SetOuterSizeTwips(OuterSizeTwips().width(), kDebugOuterHeight);
        SetOuterSizeTwips(kDebugOuterWidth, kDebugOuterHeight);
    } else {
        SetOuterSizeTwips(OuterSizeTwips().width(), kCompactOuterHeight);
        SetOuterSizeTwips(kCompactOuterWidth, kCompactOuterHeight);
    }
}

Answer AnimationPatcher::ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                                     MessageButtons buttons) {
    return presenter_(this, DecodeMessage(title), DecodeMessage(text), icon, buttons);
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
    switch (control) {
    case Control::PatchCommand:
        return PatchCommand;
    case Control::Restore_Animation:
        return Restore_Animation;
    case Control::Backup_Animation:
        return Backup_Animation;
    case Control::DebugLabel:
        return DebugLabel;
    case Control::DebugButton:
        return DebugButton;
    case Control::ZorAnimations:
        return ZorAnimations;
    case Control::Anim_Label:
        return Anim_Label;
    case Control::ZorTextures:
        return ZorTextures;
    case Control::Tex_Label:
        return Tex_Label;
    }
    return nullptr;
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
    return QDesktopServices::openUrl(QUrl(DecodeForDisplay(target), QUrl::TolerantMode));
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

void AnimationPatcher::OnPatch() {
    Finish(RunCommand(*this, [this] { return zorby::PatchCommand(workspace_, *this); }));
}

void AnimationPatcher::OnRestore() {
    Finish(RunCommand(*this, [this] { return zorby::RestoreCommand(*this); }));
}

void AnimationPatcher::OnAbout() {
    frmAbout::ShowAbout(about_, *this, this);
}

void AnimationPatcher::closeEvent(QCloseEvent* event) {
    event->accept();
    Finish(Flow::Done);
}

} // namespace zorby::ui
