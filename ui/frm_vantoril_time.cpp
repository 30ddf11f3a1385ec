#include "ui/frm_vantoril_time.h"

#include "engine/sidereal.h"
#include "runtime/conversions.h"
#include "runtime/run_time_error.h"
#include "ui/cached_group_box.h"
#include "ui/captioned_combo_box.h"
#include "ui/compact_style.h"
#include "ui/images.h"
#include "ui/key_codes.h"
#include "ui/link_label.h"
#include "ui/message_box.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <string_view>
#include <type_traits>

namespace vantoril {

const QUrl frmVantorilTime::kHomePage(QStringLiteral("https://pelvorand.example.com/"));

namespace {

// Layout is kept in twips, the unit the window was designed in; 15 twips
// make one device-independent pixel and Qt scales from there.
constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidth = 7260;
constexpr int kClientHeight = 4845;

QRect Twips(int left, int top, int width, int height)
{
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel};
}

// A compact sans close in width to the classic 8 pt dialog font, so the
// short captions fit their narrow labels.
const QString kFontFamily = QStringLiteral("Liberation Sans");
constexpr double kDefaultPointSize = 8.0;
constexpr double kLargePointSize = 9.75;
constexpr double kInstructionsPointSize = 7.5;

QFont LargeFont(bool bold)
{
    QFont font(kFontFamily);
    font.setPointSizeF(kLargePointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

std::u16string_view View(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

template <typename W>
W* Place(W* widget, const char* name, const QRect& geometry, int tabIndex)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    // The designed tab place, kept for labels and frames too although they never take focus.
    widget->setProperty("tabIndex", tabIndex);
    return widget;
}

QGroupBox* MakeFrame(QWidget* in, const char* name, const QRect& geometry, int tabIndex, const QString& caption)
{
    return Place(new CachedGroupBox(caption, in), name, geometry, tabIndex);
}

QLabel* MakeLabel(QWidget* in, const char* name, const QRect& geometry, int tabIndex, const QString& caption)
{
    auto* label = Place(new QLabel(caption, in), name, geometry, tabIndex);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLineEdit* MakeText(QWidget* in, const char* name, const QRect& geometry, int tabIndex, const QString& text)
{
    auto* box = Place(new QLineEdit(text, in), name, geometry, tabIndex);
    // Numbers are typed key by key; an input method's composed text would
    // slip past the key procedures.
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->setMaxLength(std::numeric_limits<int>::max());  // no limit on the length
    box->setCursorPosition(0);
    return box;
}

QComboBox* MakeCombo(QWidget* in, const char* name, const QRect& geometry, int tabIndex, const QString& text,
                     const QStringList& items, QStyle* style)
{
    auto* combo = Place(new CaptionedComboBox(in), name, geometry, tabIndex);
    combo->setStyle(style);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    combo->setMaxVisibleItems(8);
    combo->addItems(items);
    // The shown text is the designed one; when it is no item (" 00"), no item is current.
    combo->setCurrentIndex(static_cast<int>(items.indexOf(text)));
    combo->setEditText(text);
    return combo;
}

QStringList TwoDigitItems(int first, int last)
{
    QStringList items;
    for (int i = first; i <= last; ++i) items << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    return items;
}

} // namespace

frmVantorilTime::frmVantorilTime(MessageService* messages, UrlOpener* opener, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      messages_(messages),
      opener_(opener)
{
    if (messages_ == nullptr) {
        ownMessages_ = std::make_unique<MessageBoxService>(this);
        messages_ = ownMessages_.get();
    }
    if (opener_ == nullptr) {
        ownOpener_ = std::make_unique<DesktopUrlOpener>();
        opener_ = ownOpener_.get();
    }

    setObjectName(QStringLiteral("frmVantorilTime"));
    setWindowTitle(QStringLiteral("Vantoril Time"));
    setWindowIcon(ClockIcon());
    setFont(DefaultFont());
    setFixedSize(kClientWidth / kTwipsPerPixel, kClientHeight / kTwipsPerPixel);

    LinkLabel::InstallAccessibility();
    CreateControls();
    SetTabOrder();
    // Connected only now, so the initial texts raise no change procedure.
    ConnectProcedures();
    txtLngD->setFocus();
}

frmVantorilTime::~frmVantorilTime() = default;

QFont frmVantorilTime::DefaultFont()
{
    QFont font(kFontFamily);
    font.setPointSizeF(kDefaultPointSize);
    return font;
}

void frmVantorilTime::CreateControls()
{
    Frame1 = MakeFrame(this, "Frame1", Twips(480, 0, 6375, 975), 0, QStringLiteral("Vantoril Time"));
    Frame1->setFont(LargeFont(true));
    Label1 = MakeLabel(Frame1, "Label1", Twips(840, 360, 4935, 495), 14,
                       QStringLiteral("This program calculates the Local Vantoril Time for any        "
                                      "location on the Earth for a given time (UTC)"));
    Label1->setFont(LargeFont(false));
    Label1->setWordWrap(true);

    // Owned by the window, shared by its combos.
    auto* comboStyle = new CompactComboStyle;
    comboStyle->setParent(this);
    Frame3 = MakeFrame(this, "Frame3", Twips(480, 1320, 6495, 2775), 15, QStringLiteral("Data Input"));
    Label2 = MakeLabel(Frame3, "Label2", Twips(120, 480, 855, 255), 16, QStringLiteral("Longitude"));
    Label3 = MakeLabel(Frame3, "Label3", Twips(1080, 240, 375, 255), 17, QStringLiteral("Deg."));
    Label4 = MakeLabel(Frame3, "Label4", Twips(1560, 240, 375, 255), 18, QStringLiteral("Min."));
    Label5 = MakeLabel(Frame3, "Label5", Twips(2040, 240, 375, 255), 19, QStringLiteral("Sec."));
    Label6 = MakeLabel(Frame3, "Label6", Twips(2640, 240, 495, 255), 20, QStringLiteral("E / W"));
    txtLngD = MakeText(Frame3, "txtLngD", Twips(960, 480, 495, 315), 1, QStringLiteral(" "));
    txtLngM = MakeText(Frame3, "txtLngM", Twips(1560, 480, 375, 315), 2, QStringLiteral(" "));
    txtLngS = MakeText(Frame3, "txtLngS", Twips(2040, 480, 375, 315), 3, QStringLiteral(" "));
    cmbEW = MakeCombo(Frame3, "cmbEW", Twips(2640, 480, 495, 315), 4, QStringLiteral("E"),
                      {QStringLiteral("E"), QStringLiteral("W")}, comboStyle);
    cmdPress = Place(new QPushButton(QStringLiteral("PRESS"), Frame3), "cmdPress", Twips(4560, 480, 855, 375), 11);
    cmdPress->setAutoDefault(false);
    cmdPress->setDefault(false);
    Label9 = MakeLabel(Frame3, "Label9", Twips(1200, 1080, 495, 255), 21, QStringLiteral("Year"));
    Label10 = MakeLabel(Frame3, "Label10", Twips(1920, 1080, 495, 255), 22, QStringLiteral("Month"));
    Label11 = MakeLabel(Frame3, "Label11", Twips(2760, 1080, 495, 255), 23, QStringLiteral("Date"));
    Label12 = MakeLabel(Frame3, "Label12", Twips(4560, 1080, 255, 255), 26, QStringLiteral("Hr."));
    Label13 = MakeLabel(Frame3, "Label13", Twips(5160, 1080, 375, 255), 27, QStringLiteral("Min."));
    Label14 = MakeLabel(Frame3, "Label14", Twips(5640, 1080, 495, 255), 28, QStringLiteral("Sec."));
    Label8 = MakeLabel(Frame3, "Label8", Twips(120, 1440, 855, 255), 24, QStringLiteral("Date (UTC)"));
    txtYear = MakeText(Frame3, "txtYear", Twips(1080, 1440, 615, 315), 5, QStringLiteral("2002"));
    cmbMonth = MakeCombo(Frame3, "cmbMonth", Twips(1920, 1440, 615, 315), 6, QStringLiteral("01"), TwoDigitItems(1, 12), comboStyle);
    cmbDate = MakeCombo(Frame3, "cmbDate", Twips(2640, 1440, 615, 315), 7, QStringLiteral("01"), TwoDigitItems(1, 31), comboStyle);
    Label7 = MakeLabel(Frame3, "Label7", Twips(3480, 1440, 975, 255), 25, QStringLiteral("Time (UTC)"));
    cmbHour = MakeCombo(Frame3, "cmbHour", Twips(4440, 1440, 615, 315), 8, QStringLiteral(" 00"), TwoDigitItems(0, 23), comboStyle);
    txtMinute = MakeText(Frame3, "txtMinute", Twips(5160, 1440, 375, 285), 9, QStringLiteral(" "));
    txtSecond = MakeText(Frame3, "txtSecond", Twips(5640, 1440, 375, 285), 10, QStringLiteral(" "));
    Label17 = MakeLabel(Frame3, "Label17", Twips(240, 2040, 6015, 495), 30,
                        QStringLiteral("Enter  the Longitude  of the location and select E/W . Then enter the UTC date "
                                       "and time and press the button. You can get the Local Vantoril time for the "
                                       "above location."));
    Label17->setWordWrap(true);
    // At 8 pt the instructions need a third line their box has no room for.
    QFont smaller = font();
    smaller.setPointSizeF(kInstructionsPointSize);
    Label17->setFont(smaller);

    Label15 = MakeLabel(this, "Label15", Twips(720, 4440, 2295, 255), 12, QStringLiteral("Local Vantoril Time  ="));
    Label15->setFont(LargeFont(true));
    txtVantorilTime = MakeText(this, "txtVantorilTime", Twips(3120, 4320, 1095, 375), 13, QStringLiteral(" "));
    txtVantorilTime->setFont(LargeFont(true));
    // Read-only but focusable and selectable, so the result can be copied.
    txtVantorilTime->setReadOnly(true);
    txtVantorilTime->setFocusPolicy(Qt::StrongFocus);

    Label16 = Place(new LinkLabel(QStringLiteral("Programed by  Pelvorand"), this), "Label16",
                    Twips(4800, 4440, 2280, 255), 29);
    Label16->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette blue = Label16->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label16->setPalette(blue);
    Label16->setCursor(HandCursor(devicePixelRatioF()));

    // Screen readers announce each input by what its caption says.
    const std::pair<QWidget*, const char*> names[] = {
        {txtLngD, "Longitude degrees"}, {txtLngM, "Longitude minutes"}, {txtLngS, "Longitude seconds"},
        {cmbEW, "East or west"},        {txtYear, "Year"},              {cmbMonth, "Month"},
        {cmbDate, "Date"},              {cmbHour, "Hour"},              {txtMinute, "Minute"},
        {txtSecond, "Second"},          {cmdPress, "PRESS"},            {txtVantorilTime, "Local Vantoril Time"},
    };
    for (const auto& [widget, name] : names) widget->setAccessibleName(QLatin1String(name));
    // Captions become the boxes' labels for assistive technology (no mnemonics involved).
    const std::pair<QLabel*, QWidget*> buddies[] = {
        {Label3, txtLngD},   {Label4, txtLngM},  {Label5, txtLngS},   {Label6, cmbEW},
        {Label9, txtYear},   {Label10, cmbMonth}, {Label11, cmbDate}, {Label12, cmbHour},
        {Label13, txtMinute}, {Label14, txtSecond}, {Label15, txtVantorilTime},
    };
    for (const auto& [label, box] : buddies) label->setBuddy(box);
    Label16->setAccessibleDescription(QStringLiteral("Opens the author's home page"));
}

void frmVantorilTime::SetTabOrder()
{
    QList<QWidget*> focusable;
    for (auto* widget : findChildren<QWidget*>()) {
        if (widget->property("tabIndex").isValid()) {
            if (qobject_cast<QLabel*>(widget) != nullptr || qobject_cast<QGroupBox*>(widget) != nullptr) {
                widget->setFocusPolicy(Qt::NoFocus);
            } else {
                focusable << widget;
            }
        }
    }
    std::sort(focusable.begin(), focusable.end(), [](const QWidget* a, const QWidget* b) {
        return a->property("tabIndex").toInt() < b->property("tabIndex").toInt();
    });
    for (qsizetype i = 1; i < focusable.size(); ++i) setTabOrder(focusable[i - 1], focusable[i]);
}

void frmVantorilTime::ConnectProcedures()
{
    keyProcedures_ = {
        {txtLngD, &frmVantorilTime::txtLngD_KeyPress},     {txtLngM, &frmVantorilTime::txtLngM_KeyPress},
        {txtLngS, &frmVantorilTime::txtLngS_KeyPress},     {txtYear, &frmVantorilTime::txtYear_KeyPress},
        {txtMinute, &frmVantorilTime::txtMinute_KeyPress}, {txtSecond, &frmVantorilTime::txtSecond_KeyPress},
    };
    // A combo's keys may reach the combo or its line edit, depending on the path; block both.
    for (const auto& [combo, procedure] : {std::pair{cmbEW, &frmVantorilTime::cmbEW_KeyPress},
                                           std::pair{cmbMonth, &frmVantorilTime::cmbMonth_KeyPress},
                                           std::pair{cmbDate, &frmVantorilTime::cmbDate_KeyPress},
                                           std::pair{cmbHour, &frmVantorilTime::cmbHour_KeyPress}}) {
        keyProcedures_.emplace_back(combo, procedure);
        keyProcedures_.emplace_back(combo->lineEdit(), procedure);
    }
    for (const auto& [object, procedure] : keyProcedures_) object->installEventFilter(this);
    cmdPress->installEventFilter(this);

    connect(txtLngD, &QLineEdit::textChanged, this, &frmVantorilTime::txtLngD_Change);
    connect(txtLngM, &QLineEdit::textChanged, this, &frmVantorilTime::txtLngM_Change);
    connect(txtLngS, &QLineEdit::textChanged, this, &frmVantorilTime::txtLngS_Change);
    connect(txtYear, &QLineEdit::textChanged, this, &frmVantorilTime::txtYear_Change);
    connect(txtMinute, &QLineEdit::textChanged, this, &frmVantorilTime::txtMinute_Change);
    connect(txtSecond, &QLineEdit::textChanged, this, &frmVantorilTime::txtSecond_Change);
    connect(cmdPress, &QPushButton::clicked, this, &frmVantorilTime::cmdPress_Click);
    connect(Label16, &LinkLabel::clicked, this, &frmVantorilTime::Label16_Click);
}

template <typename Body>
void frmVantorilTime::Procedure(Body&& body)
{
    try {
        body();
    } catch (const RunTimeError& error) {
        messages_->ShowMessage(error.what());
    }
}

void frmVantorilTime::cmdPress_Click()
{
    // The reads of the window sit between the runs of the calculation, so an
    // error leaves exactly the fields stored before it changed.
    Procedure([this] {
        WorkingValues& v = values_;
        v.Year = StoreSingle(LenientNumber(View(txtYear->text())));
        v.Month = StrictSingle(View(cmbMonth->currentText()));
        ComputeLstStep1(v);
        v.Day = StrictSingle(View(cmbDate->currentText()));
        v.EWSign = StrEqual(View(cmbEW->currentText()), u"E") ? 1 : -1;
        ComputeLstSteps2To5(v);
        v.Hour = StrictSingle(View(cmbHour->currentText()));
        ComputeLstSteps6To16(v);
        txtVantorilTime->setText(QString::fromStdString(FormatLst(v)));
    });
}

void frmVantorilTime::Label16_Click()
{
    opener_->OpenUrl(kHomePage);
}

void frmVantorilTime::DigitFilter(std::int16_t& keyAscii)
{
    if (keyAscii == 8) return;  // Backspace edits
    const std::u16string typed = CharOfAnsiCode(static_cast<std::uint8_t>(keyAscii));
    // Binary order: only the ten digits lie between "0" and "90".
    if (StrLess(typed, u"0") || StrGreater(typed, u"90")) {
        keyAscii = 0;
        messages_->ShowMessage("Type only Numbers");
    }
}

void frmVantorilTime::KeyBlocker(std::int16_t& keyAscii) { keyAscii = 0; }

template <typename Field>
void frmVantorilTime::StoreNumber(const QLineEdit* box, Field& field, Field limit, const char* warning)
{
    Procedure([&] {
        const double number = LenientNumber(View(box->text()));
        if constexpr (std::is_same_v<Field, float>) {
            field = StoreSingle(number);
        } else {
            field = number;
        }
        // Compared in the field's own width, after the store.
        if (warning != nullptr && field > limit) messages_->ShowMessage(warning);
    });
}

void frmVantorilTime::txtLngD_KeyPress(std::int16_t& keyAscii) { DigitFilter(keyAscii); }
void frmVantorilTime::txtLngM_KeyPress(std::int16_t& keyAscii) { DigitFilter(keyAscii); }
void frmVantorilTime::txtLngS_KeyPress(std::int16_t& keyAscii) { DigitFilter(keyAscii); }
void frmVantorilTime::txtYear_KeyPress(std::int16_t& keyAscii) { DigitFilter(keyAscii); }
void frmVantorilTime::txtMinute_KeyPress(std::int16_t& keyAscii) { DigitFilter(keyAscii); }
void frmVantorilTime::txtSecond_KeyPress(std::int16_t& keyAscii) { DigitFilter(keyAscii); }
void frmVantorilTime::cmbEW_KeyPress(std::int16_t& keyAscii) { KeyBlocker(keyAscii); }
void frmVantorilTime::cmbMonth_KeyPress(std::int16_t& keyAscii) { KeyBlocker(keyAscii); }
void frmVantorilTime::cmbDate_KeyPress(std::int16_t& keyAscii) { KeyBlocker(keyAscii); }
void frmVantorilTime::cmbHour_KeyPress(std::int16_t& keyAscii) { KeyBlocker(keyAscii); }

void frmVantorilTime::txtLngD_Change() { StoreNumber(txtLngD, values_.LngD, 179.0, "It is less than 180"); }
void frmVantorilTime::txtLngM_Change() { StoreNumber(txtLngM, values_.LngM, 59.0, "It is less than 60"); }
void frmVantorilTime::txtLngS_Change() { StoreNumber(txtLngS, values_.LngS, 59.0, "It is less than 60"); }
void frmVantorilTime::txtYear_Change() { StoreNumber(txtYear, values_.Year, 0.0f, nullptr); }
void frmVantorilTime::txtMinute_Change() { StoreNumber(txtMinute, values_.Minute, 59.0f, "It is less than 60"); }
void frmVantorilTime::txtSecond_Change() { StoreNumber(txtSecond, values_.Second, 59.0f, "It is less than 60"); }

bool frmVantorilTime::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::ShortcutOverride) {
        if (watched == cmdPress) return FilterButtonKey(event);
        return FilterKey(watched, event);
    }
    return QWidget::eventFilter(watched, event);
}

bool frmVantorilTime::FilterKey(QObject* watched, QEvent* event)
{
    const auto found = std::find_if(keyProcedures_.begin(), keyProcedures_.end(),
                                    [watched](const auto& entry) { return entry.first == watched; });
    if (found == keyProcedures_.end()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const std::vector<std::uint8_t> codes = AnsiKeyCodes(*key);
    if (codes.empty()) {
        // Not a character: arrows, Delete, Tab... work as usual. Alt+letter,
        // Alt+Backspace and the like are commands, not typing, yet QLineEdit
        // would insert their text or undo: swallow them silently.
        const int k = key->key();
        return event->type() == QEvent::KeyPress && !key->text().isEmpty() && k != Qt::Key_Delete &&
               k != Qt::Key_Tab && k != Qt::Key_Backtab;
    }

    // Claim character keys before the shortcut map sees them, so Ctrl+V and
    // the like arrive here as characters and never act as shortcuts.
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }

    const KeyProcedure procedure = found->second;
    if (codes.size() == 1) {
        std::int16_t keyAscii = codes.front();
        (this->*procedure)(keyAscii);
        return keyAscii == 0;  // a passed key goes on to the box unchanged
    }

    // Several characters in one event (input methods): each is a key of its own.
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr) {
        if (auto* combo = qobject_cast<QComboBox*>(watched)) edit = combo->lineEdit();
    }
    for (const std::uint8_t code : codes) {
        std::int16_t keyAscii = code;
        (this->*procedure)(keyAscii);
        if (keyAscii == 0 || edit == nullptr) continue;
        if (keyAscii == 8) {
            edit->backspace();
        } else {
            edit->insert(QString::fromStdU16String(CharOfAnsiCode(static_cast<std::uint8_t>(keyAscii))));
        }
    }
    return true;
}

bool frmVantorilTime::FilterButtonKey(QEvent* event)
{
    // Not a default button, yet Enter presses it while it has the focus.
    auto* key = static_cast<QKeyEvent*>(event);
    if (event->type() == QEvent::KeyPress && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        !key->isAutoRepeat()) {
        cmdPress->click();
        return true;
    }
    return false;
}

} // namespace vantoril
