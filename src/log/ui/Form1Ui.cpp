// Construction of the main window: controls, layout and menus.
#include "log/contactlistmodel.h"
#include "log/locations.h"
#include "log/ui/Form1.h"

#include "common/bands.h"
#include "common/colours.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>

namespace velk {

namespace {

// Entry boxes never take a double quote or a line break, typed or pasted: either would break a
// line of log.txt.
class EntryValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        const qsizetype before = input.size();
        input.remove(QLatin1Char('"'));
        input.remove(QLatin1Char('\r'));
        input.remove(QLatin1Char('\n'));
        pos = std::max(0, pos - static_cast<int>(before - input.size()));
        return Acceptable;
    }
};

QLabel* makeLabel(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}

QLabel* makeCaption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: palette(mid); font-size: 9pt;"));
    return label;
}

QLineEdit* makeEntryBox(const QString& objectName, int pointSize, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setValidator(new EntryValidator(box));
    QFont font = box->font();
    font.setPointSize(pointSize);
    font.setBold(true);
    box->setFont(font);
    box->setMinimumHeight(QFontMetrics(font).height() + 14);
    return box;
}

QPushButton* makeButton(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setFocusPolicy(Qt::TabFocus);
    button->setMinimumHeight(32);
    return button;
}

} // namespace

void Form1::buildWindow()
{
    setObjectName(QStringLiteral("Form1"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setSpacing(8);
    layout->addWidget(buildStationBar());
    layout->addWidget(buildEntryPanel());

    lblDialog = makeLabel(QStringLiteral("lblDialog"), QString(), central);
    QFont statusFont = lblDialog->font();
    statusFont.setPointSize(15);
    statusFont.setBold(true);
    lblDialog->setFont(statusFont);
    lblDialog->setMinimumHeight(QFontMetrics(statusFont).height() + 16);
    lblDialog->setContentsMargins(10, 4, 10, 4);
    setStatusColour(colour::statusNormal);
    layout->addWidget(lblDialog);

    lblDupe = makeLabel(QStringLiteral("lblDupe"), QString(), central);
    lblDupe->setWordWrap(true);
    lblDupe->setMinimumHeight(QFontMetrics(lblDupe->font()).height() * 2 + 8);
    lblDupe->setContentsMargins(8, 2, 8, 2);
    lblDupe->setAutoFillBackground(true);
    layout->addWidget(lblDupe);
    resetPartialDupeDisplay();

    layout->addWidget(buildButtonRow());

    auto* lower = new QHBoxLayout;
    m_listModel = new ContactListModel(m_session.log, this);
    m_listSorter = new QSortFilterProxyModel(this);
    m_listSorter->setSourceModel(m_listModel);
    m_listSorter->setSortRole(Qt::UserRole);
    m_listView = new QTableView(central);
    m_listView->setObjectName(QStringLiteral("ListView1"));
    m_listView->setModel(m_listSorter);
    m_listView->setSortingEnabled(true);
    m_listView->sortByColumn(-1, Qt::AscendingOrder); // keep the newest-first order until a header is clicked
    m_listView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_listView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_listView->setAlternatingRowColors(true);
    m_listView->verticalHeader()->hide();
    m_listView->verticalHeader()->setDefaultSectionSize(QFontMetrics(m_listView->font()).height() + 6);
    m_listView->horizontalHeader()->setStretchLastSection(true);
    m_listView->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    for (const auto& [column, width] :
         {std::pair{0, 55}, {1, 110}, {2, 95}, {3, 90}, {4, 50}, {5, 105}, {6, 45}}) {
        m_listView->setColumnWidth(column, width);
    }
    lower->addWidget(m_listView, 3);

    auto* right = new QVBoxLayout;
    right->addWidget(buildLocationGrid());
    right->addWidget(buildTotalsPanel());
    lower->addLayout(right, 2);
    layout->addLayout(lower, 1);

    setCentralWidget(central);
    buildMenus();

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);

    connect(txtCall, &QLineEdit::textChanged, this, [this] { LookupCall(); });
    connect(txtCntry, &QLineEdit::textChanged, this, [this] { NewMultiplierIndicator(); });
    setTabOrder(txtCall, txtRSTR);
    setTabOrder(txtRSTR, txtCntry);
    resize(1280, 800);
}

QWidget* Form1::buildStationBar()
{
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);

    auto addValue = [&](const QString& caption, QLabel* value) {
        auto* box = new QVBoxLayout;
        box->setSpacing(0);
        box->addWidget(makeCaption(caption, bar));
        QFont font = value->font();
        font.setPointSize(13);
        font.setBold(true);
        value->setFont(font);
        box->addWidget(value);
        row->addLayout(box);
        row->addSpacing(18);
    };
    lblOwnCall = makeLabel(QStringLiteral("lblOwnCall"), QString(), bar);
    lblOwnSpc = makeLabel(QStringLiteral("lblOwnSpc"), QString(), bar);
    lblOwnName = makeLabel(QStringLiteral("lblOwnName"), QString(), bar);
    addValue(tr("CALL"), lblOwnCall);
    addValue(tr("SPC"), lblOwnSpc);
    addValue(tr("NAME"), lblOwnName);
    row->addStretch(1);

    Label24 = makeLabel(QStringLiteral("Label24"), QString(), bar);
    Label24->setToolTip(tr("Click for the next band"));
    Label24->setCursor(Qt::PointingHandCursor);
    addValue(tr("BAND (m)"), Label24);
    QFont bandFont = Label24->font();
    bandFont.setPointSize(22);
    Label24->setFont(bandFont);
    Label24->setMinimumWidth(QFontMetrics(bandFont).horizontalAdvance(QStringLiteral("160")) + 12);

    lblutctime = makeLabel(QStringLiteral("lblutctime"), QString(), bar);
    addValue(tr("UTC"), lblutctime);

    auto* local = new QWidget(bar);
    auto* localRow = new QHBoxLayout(local);
    localRow->setContentsMargins(0, 0, 0, 0);
    localRow->setSpacing(4);
    lblCurTime = makeLabel(QStringLiteral("lblCurTime"), QString(), local);
    Label16 = makeLabel(QStringLiteral("Label16"), QString(), local);
    localRow->addWidget(lblCurTime);
    localRow->addWidget(Label16);
    auto* localBox = new QVBoxLayout;
    localBox->setSpacing(0);
    localBox->addWidget(makeCaption(tr("LOCAL"), bar));
    QFont clockFont = lblCurTime->font();
    clockFont.setPointSize(13);
    clockFont.setBold(true);
    lblCurTime->setFont(clockFont);
    Label16->setFont(clockFont);
    localBox->addWidget(local);
    row->addLayout(localBox);
    row->addSpacing(18);

    lblttrack = makeLabel(QStringLiteral("lblttrack"), QStringLiteral("00:00:00"), bar);
    addValue(tr("OPERATING TIME"), lblttrack);
    return bar;
}

QWidget* Form1::buildEntryPanel()
{
    auto* panel = new QWidget(this);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);

    txtCall = makeEntryBox(QStringLiteral("txtCall"), 20, panel);
    txtRSTR = makeEntryBox(QStringLiteral("txtRSTR"), 20, panel);
    txtCntry = makeEntryBox(QStringLiteral("txtCntry"), 20, panel);
    grid->addWidget(makeCaption(tr("Call"), panel), 0, 0);
    grid->addWidget(makeCaption(tr("Name"), panel), 0, 1);
    grid->addWidget(makeCaption(tr("S/P/C"), panel), 0, 2);
    grid->addWidget(txtCall, 1, 0);
    grid->addWidget(txtRSTR, 1, 1);
    grid->addWidget(txtCntry, 1, 2);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 4);

    Label19 = makeLabel(QStringLiteral("Label19"), QString(), panel);
    Label22 = makeLabel(QStringLiteral("Label22"), QString(), panel);
    Label23 = makeLabel(QStringLiteral("Label23"), QString(), panel);
    auto* where = new QFormLayout;
    where->setVerticalSpacing(0);
    where->addRow(tr("Continent:"), Label19);
    where->addRow(tr("Bearing:"), Label22);
    where->addRow(tr("Miles:"), Label23);
    grid->addLayout(where, 0, 3, 2, 1);
    grid->setColumnMinimumWidth(3, 130);

    Label3 = makeLabel(QStringLiteral("Label3"), tr("New Multiplier!"), panel);
    Label3->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold; font-size: 13pt;"));
    Label3->hide();
    grid->addWidget(Label3, 2, 2);

    lblPostConTime = makeLabel(QStringLiteral("lblPostConTime"), tr("Time"), panel);
    lblPostConDate = makeLabel(QStringLiteral("lblPostConDate"), tr("Date"), panel);
    txtPostConTime = makeEntryBox(QStringLiteral("txtPostConTime"), 13, panel);
    txtPostConDate = makeEntryBox(QStringLiteral("txtPostConDate"), 13, panel);
    txtPostConTime->setMaximumWidth(110);
    txtPostConDate->setMaximumWidth(150);
    auto* post = new QHBoxLayout;
    post->addWidget(lblPostConTime);
    post->addWidget(txtPostConTime);
    post->addWidget(lblPostConDate);
    post->addWidget(txtPostConDate);
    post->addStretch(1);
    grid->addLayout(post, 2, 0, 1, 2);
    for (QWidget* w : {static_cast<QWidget*>(lblPostConTime), static_cast<QWidget*>(lblPostConDate),
                       static_cast<QWidget*>(txtPostConTime), static_cast<QWidget*>(txtPostConDate)}) {
        w->hide();
    }
    return panel;
}

QWidget* Form1::buildButtonRow()
{
    auto* row = new QWidget(this);
    auto* buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    cmdLogOn = makeButton(QStringLiteral("cmdLogOn"), tr("&Log \"Time On\""), row);
    cmdClear = makeButton(QStringLiteral("cmdClear"), tr("&Clear"), row);
    cmdList = makeButton(QStringLiteral("cmdList"), tr("All"), row);
    cmdList->setToolTip(tr("List all contacts or the last 20"));
    cmdDup = makeButton(QStringLiteral("cmdDup"), tr("On"), row);
    cmdDup->setToolTip(tr("Displaying partial dupes slows the program on older pc's."));
    cmdEdit = makeButton(QStringLiteral("cmdEdit"), tr("Edit Contact"), row);
    cmdDelete = makeButton(QStringLiteral("cmdDelete"), tr("Delete Contact"), row);
    cmdEdit->hide();
    cmdDelete->hide();
    buttons->addWidget(cmdLogOn);
    buttons->addWidget(cmdClear);
    buttons->addSpacing(20);
    buttons->addWidget(new QLabel(tr("List:"), row));
    buttons->addWidget(cmdList);
    buttons->addWidget(new QLabel(tr("Partial dupes:"), row));
    buttons->addWidget(cmdDup);
    buttons->addStretch(1);
    buttons->addWidget(cmdEdit);
    buttons->addWidget(cmdDelete);

    connect(cmdLogOn, &QPushButton::clicked, this, &Form1::cmdLogOn_Click);
    connect(cmdClear, &QPushButton::clicked, this, &Form1::cmdClear_Click);
    connect(cmdList, &QPushButton::clicked, this, &Form1::cmdList_Click);
    connect(cmdDup, &QPushButton::clicked, this, &Form1::cmdDup_Click);
    // Editing and deleting open their dialog for the selected record.
    connect(cmdEdit, &QPushButton::clicked, this, [this] {
        const QModelIndex current = m_listSorter->mapToSource(m_listView->currentIndex());
        if (current.isValid()) {
            emit editContactRequested(m_listModel->recordAt(current.row()));
        }
    });
    connect(this, &Form1::editContactRequested, this, &Form1::cmdEdit_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &Form1::cmdDelete_Click);
    return row;
}

QWidget* Form1::buildLocationGrid()
{
    auto* box = new QGroupBox(tr("States and provinces"), this);
    auto* grid = new QGridLayout(box);
    grid->setSpacing(2);
    constexpr int columns = 9;
    const auto& table = locationTable();
    for (int i = 0; i < locationCount; ++i) {
        auto* label = makeLabel(QStringLiteral("Label10_%1").arg(i + 1),
                                QString::fromLatin1(table[static_cast<size_t>(i)].abbreviation), box);
        label->setToolTip(QString::fromLatin1(table[static_cast<size_t>(i)].name));
        label->setAlignment(Qt::AlignCenter);
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        label->setMinimumWidth(QFontMetrics(font).horizontalAdvance(QStringLiteral("NWT")) + 8);
        Label10[static_cast<size_t>(i)] = label;
        grid->addWidget(label, i / columns, i % columns);
    }
    return box;
}

QWidget* Form1::buildTotalsPanel()
{
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);

    auto* dx = new QVBoxLayout;
    lblDxHeading = makeLabel(QStringLiteral("lblStation5"), QString(), panel);
    List1 = new QListWidget(panel);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFocusPolicy(Qt::NoFocus);
    dx->addWidget(lblDxHeading);
    dx->addWidget(List1);
    row->addLayout(dx, 1);

    auto* totals = new QFormLayout;
    lblTotCon = makeLabel(QStringLiteral("lblTotCon"), QStringLiteral("0"), panel);
    lblsectogo = makeLabel(QStringLiteral("lblsectogo"), QStringLiteral("0"), panel);
    lblTotScore = makeLabel(QStringLiteral("lblTotScore"), QStringLiteral("0"), panel);
    Label4 = makeLabel(QStringLiteral("Label4"), QStringLiteral("0"), panel);
    lblAQSO20 = makeLabel(QStringLiteral("lblAQSO20"), QStringLiteral("0"), panel);
    lblAQSO60 = makeLabel(QStringLiteral("lblAQSO60"), QStringLiteral("0"), panel);
    totals->addRow(tr("Contacts:"), lblTotCon);
    totals->addRow(tr("Multipliers:"), lblsectogo);
    totals->addRow(tr("Score:"), lblTotScore);
    totals->addRow(tr("Multipliers worked on current band:"), Label4);
    totals->addRow(tr("Rate, last 20 minutes (per hour):"), lblAQSO20);
    totals->addRow(tr("Rate, last 60 minutes:"), lblAQSO60);
    row->addLayout(totals, 2);
    return panel;
}

void Form1::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const QString& objectName, const QString& text,
                       void (Form1::*slot)() = nullptr) {
        QAction* action = menu->addAction(text);
        action->setObjectName(objectName);
        if (slot) {
            connect(action, &QAction::triggered, this, slot);
        } else {
            action->setEnabled(false); // its window arrives with a later release
        }
        return action;
    };
    auto menu = [](QMenu* parent, const QString& objectName, const QString& text) {
        QMenu* sub = parent->addMenu(text);
        sub->setObjectName(objectName);
        return sub;
    };
    auto topMenu = [bar](const QString& objectName, const QString& text) {
        QMenu* sub = bar->addMenu(text);
        sub->setObjectName(objectName);
        return sub;
    };

    QMenu* file = topMenu(QStringLiteral("mnuFile"), tr("&File"));
    item(file, QStringLiteral("mnuNew"), tr("&New"), &Form1::mnuNew_Click);
    QAction* open = item(file, QStringLiteral("mnuOpen"), tr("&Open"));
    open->setEnabled(true);
    connect(open, &QAction::triggered, this, [this] { mnuOpen2(); });
    file->addSeparator();
    item(file, QStringLiteral("mnuArchive"), tr("Archive Current &Log"), &Form1::mnuArchive_Click);
    file->addSeparator();
    item(file, QStringLiteral("mnuRestore"), tr("&Restore from Archive or Backup"), &Form1::mnuRestore_Click);
    file->addSeparator();
    item(file, QStringLiteral("mnuWriteSumm"), tr("&Write Cabrillo File"), &Form1::mnuWriteSumm_Click);
    file->addSeparator();
    item(file, QStringLiteral("mnuExportTobrel"), tr("E&xport for Tobrel Import"),
         &Form1::mnuExportTobrel_Click);
    item(file, QStringLiteral("mnuExportADIF"), tr("Ex&port ADIF Format"), &Form1::mnuExportADIF_Click);
    file->addSeparator();
    item(file, QStringLiteral("mnuCopyList"), tr("&Copy Listed Items to Clipboard"),
         &Form1::mnuCopyList_Click);
    file->addSeparator();
    QAction* exitItem = item(file, QStringLiteral("mnuExit"), tr("&Exit"));
    exitItem->setEnabled(true);
    connect(exitItem, &QAction::triggered, this, [this] {
        SavePref();
        close();
    });

    QMenu* options = topMenu(QStringLiteral("mnuOptions"), tr("&Options"));
    QMenu* transmit = menu(options, QStringLiteral("mnuTransmit"), tr("&Transmit"));
    item(transmit, QStringLiteral("mnuCWSetup"), tr("&CW Setup"));
    item(transmit, QStringLiteral("mnuVoiceSetup"), tr("&Voice Setup"));
    QMenu* appearance = menu(options, QStringLiteral("mnuAppearance"), tr("&Appearance"));
    item(appearance, QStringLiteral("mnuFormSize"), tr("&Form Size"), &Form1::mnuFormSize_Click);
    item(appearance, QStringLiteral("mnuColors"), tr("&Colors"), &Form1::mnuColors_Click);
    mnuTaskbar = item(appearance, QStringLiteral("mnuTaskbar"), tr("&Taskbar"), &Form1::mnuTaskbar_Click);
    mnuTaskbar->setCheckable(true);
    item(options, QStringLiteral("mnuRigInterface"), tr("&Rig Interface"));
    QMenu* spotting = menu(options, QStringLiteral("mnuDXSpotting"), tr("&DX Spotting"));
    item(spotting, QStringLiteral("mnuDXConfigure"), tr("&Configure"));
    item(spotting, QStringLiteral("mnuSpectrumMap"), tr("&View Spectrum Map"));
    item(options, QStringLiteral("mnuVoiceNavigation"), tr("&Voice Navigation"));
    mnuListPrevious = item(options, QStringLiteral("mnuListPrevious"), tr("&List Previous Contacts"),
                           &Form1::mnuListPrevious_Click);
    mnuListPrevious->setCheckable(true);
    mnuPostContest = item(options, QStringLiteral("mnuPostContest"), tr("&Post Contest Mode"),
                          &Form1::mnuPostContest_Click);
    mnuPostContest->setCheckable(true);

    QAction* setup = bar->addAction(tr("&Setup"));
    setup->setObjectName(QStringLiteral("mnuSetup"));
    connect(setup, &QAction::triggered, this, &Form1::mnuSetup_Click);

    QMenu* band = topMenu(QStringLiteral("mnuBand"), tr("&Band"));
    const QStringList names{QStringLiteral("mnuBand160Ch"), QStringLiteral("mnuBand80Ch"),
                            QStringLiteral("mnuBand40Ch"),  QStringLiteral("mnuBand20Ch"),
                            QStringLiteral("mnuBand15Ch"),  QStringLiteral("mnuBand10Ch"),
                            QStringLiteral("mnuBand6Ch")};
    for (int i = 0; i < bandCount; ++i) {
        const QString text = bandTexts().at(i);
        QAction* action = band->addAction(text);
        action->setObjectName(names.at(i));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, text] { selectBand(text); });
        m_bandItems[static_cast<size_t>(i)] = action;
    }
    band->addSeparator();
    item(band, QStringLiteral("mnuPrivileges"), tr("&Privileges"));

    QAction* graph = bar->addAction(tr("&Graph"));
    graph->setObjectName(QStringLiteral("mnuGraph"));
    connect(graph, &QAction::triggered, this, &Form1::mnuGraph_Click);

    QAction* help = bar->addAction(tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    connect(help, &QAction::triggered, this, &Form1::mnuHelp_Click);
}

void Form1::applyWindowSize()
{
    const QScreen* screen = QApplication::primaryScreen();
    if (!screen) {
        return;
    }
    // With the taskbar option the window leaves room for the panel; otherwise it may cover it.
    const QRect area = m_session.prefs.taskbar ? screen->availableGeometry() : screen->geometry();
    const double share = std::clamp(m_session.prefs.formSizePercent, 30, 100) / 100.0;
    const QSize size(static_cast<int>(area.width() * share), static_cast<int>(area.height() * share));
    resize(size.expandedTo(minimumSizeHint()));
    move(area.center() - rect().center());
}

} // namespace velk
