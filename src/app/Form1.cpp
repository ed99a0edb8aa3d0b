#include "app/Form1.h"

#include <QHeaderView>

#include "app/ProgramIcon.h"
#include "app/Twips.h"
#include "engine/LoggingCaptions.h"
#include "platform/qt/QtText.h"

namespace kestrava::app {
namespace {

QFont ControlFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setBold(true);
    return font;
}

QFont ButtonFont() {
    QFont font = ControlFont();
    font.setPointSizeF(11.25);
    return font;
}

template <typename Control>
Control* Place(Control* control, const char* name, const QRect& geometry) {
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    return control;
}

QGroupBox* NewFrame(QWidget* parent, const char* name, const char* caption, const QRect& place) {
    return Place(new QGroupBox(QString::fromLatin1(caption), parent), name, place);
}

QPushButton* NewButton(QWidget* parent, const char* name, const char* caption, const QRect& place) {
    auto* button = Place(new QPushButton(QString::fromLatin1(caption), parent), name, place);
    button->setFont(ButtonFont());
    return button;
}

// The tray icon as the window's design stores it: out of the tray, no tip, the blue V.
tray::cSysTray::StoredProperties DesignedTrayIcon() {
    return {.InTray = false, .TrayIcon = ProgramIconPicture(), .TrayTip = {}};
}

QCheckBox* NewCheckBox(QWidget* parent, const char* name, const char* caption, const QRect& place) {
    return Place(new QCheckBox(QString::fromLatin1(caption), parent), name, place);
}

}  // namespace

Form1::Form1(platform::Services& services, QWidget* parent)
    : QWidget(parent),
      cSysTray1(services.notifyArea, services.events, services.clock, DesignedTrayIcon()),
      services_(services),
      settings_(services.settingsBackend),
      errorReport_(services.dialogs),
      snapshotTools_(services.fileSystem, services.events, services.clock, services.locale,
                     services.dialogs),
      snapshots_(snapshotTools_, snapshotList_.rows(), [this] {
          return engine::SnapshotTarget{platform::FromQString(Text1->text()), HistoryLogPath};
      }) {
    createControls();
    connectHandlers();
    watchHovering();
}

void Form1::createControls() {
    setObjectName(QStringLiteral("Form1"));
    setFont(ControlFont());
    resize(TwipsToPixels(8040), TwipsToPixels(8655));

    Frame1 = NewFrame(this, "Frame1", "Next log will occur in", TwipsRect(120, 120, 7800, 840));
    ProgressBar1 = Place(new QProgressBar(Frame1), "ProgressBar1", TwipsRect(240, 285, 7320, 405));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setFormat(platform::ToQString(engine::caption::ProgressBar));
    ProgressBar1->setAlignment(Qt::AlignCenter);

    Frame3 = NewFrame(this, "Frame3", "Folder To Log", TwipsRect(120, 1050, 7800, 810));
    Text1 = Place(new QLineEdit(Frame3), "Text1", TwipsRect(240, 300, 6495, 345));
    PushButton3 = NewButton(Frame3, "PushButton3", "...", TwipsRect(6840, 300, 720, 345));

    ListView1 = Place(new QTableView(this), "ListView1", TwipsRect(120, 1980, 7800, 2085));
    ListView1->setModel(&snapshotList_);
    ListView1->setShowGrid(false);
    ListView1->setWordWrap(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->verticalHeader()->hide();
    // A fixed row height lets the view place a million rows without measuring them.
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    ListView1->horizontalHeader()->setHighlightSections(false);

    ListView2 = Place(new IntervalList(this), "ListView2", TwipsRect(120, 4160, 7800, 2070));
    ListView2->setColumnCount(0);
    ListView2->setRootIsDecorated(false);
    ListView2->setUniformRowHeights(true);

    Frame2 = NewFrame(this, "Frame2", "Startup Options", TwipsRect(120, 6270, 7800, 735));
    Check4 = NewCheckBox(Frame2, "Check4", "Load this software on Windows startup",
                         TwipsRect(240, 300, 3930, 285));
    Check8 =
        NewCheckBox(Frame2, "Check8", "Minimized to system tray", TwipsRect(4320, 300, 2580, 285));

    PushButton5 = NewButton(this, "PushButton5", engine::caption::SwitchAtDesign.data(),
                            TwipsRect(120, 7120, 3840, 405));
    PushButton6 = NewButton(this, "PushButton6", "Log Current Status Now (Test)",
                            TwipsRect(4080, 7120, 3840, 405));
    PushButton1 =
        NewButton(this, "PushButton1", "View History Log", TwipsRect(120, 7630, 3840, 405));
    PushButton2 = NewButton(this, "PushButton2", "Copy History To Clipboard",
                            TwipsRect(4080, 7630, 3840, 405));
    PushButton11 = NewButton(this, "PushButton11", "Help", TwipsRect(120, 8140, 3840, 405));
    PushButton12 =
        NewButton(this, "PushButton12", "Clear History Log", TwipsRect(4080, 8140, 3840, 405));

    Timer1 = new IntervalTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
}

void Form1::connectHandlers() {
    connect(Timer1, &IntervalTimer::tick, this, &Form1::Timer1_Timer);
    connect(PushButton5, &QPushButton::clicked, this, &Form1::PushButton5_Click);
    connect(PushButton6, &QPushButton::clicked, this, &Form1::PushButton6_Click);
    connect(ListView2, &IntervalList::clickedByUser, this, &Form1::ListView2_Click);
    connect(PushButton1, &QPushButton::clicked, this, &Form1::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form1::PushButton2_Click);
    connect(PushButton3, &QPushButton::clicked, this, &Form1::PushButton3_Click);
    connect(PushButton11, &QPushButton::clicked, this, &Form1::PushButton11_Click);
    connect(PushButton12, &QPushButton::clicked, this, &Form1::PushButton12_Click);
    connect(Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    connect(Check8, &QCheckBox::toggled, this, &Form1::Check8_Click);
    connect(Check4, &QCheckBox::toggled, this, &Form1::Check4_Click);
    cSysTray1.MouseUp = [this](std::int16_t button, std::int32_t iconId) {
        cSysTray1_MouseUp(button, iconId);
    };
}

void Form1::Text1_Change() {
    settings_.write(settings::Setting::Text1, platform::FromQString(Text1->text()));
}

void Form1::Check8_Click() {
    settings_.write(settings::Setting::Minimized,
                    Check8->isChecked() ? settings::On : settings::Off);
}

}  // namespace kestrava::app
