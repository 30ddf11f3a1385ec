// SPDX-License-Identifier: MIT
// The window's controls as data: one row a control, read by a short loop,
// then the few things a row cannot say (fonts the window names, the link's
// colour and pointer, the names assistive technology reads).
#include "ui/cached_group_box.h"
#include "ui/compact_style.h"
#include "ui/focus_wheel_combo_box.h"
#include "ui/frm_vantoril_time.h"
#include "ui/images.h"
#include "ui/link_label.h"
#include "ui/result_box.h"
#include "ui/shown_text.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>
#include <type_traits>
#include <variant>

namespace vantoril {

namespace {

// Layout is kept in twips, the unit the window was designed in; 15 twips
// make one device-independent pixel and Qt scales from there.
constexpr int kTwipsPerPixel = 15;

enum class Font { Default, Large, LargeBold, Small };
enum class List { None, EastWest, Months, Days, Hours };

// Which member a row fills also says what kind of control it is.
using Member =
    std::variant<QGroupBox * frmVantorilTime::*, QLabel * frmVantorilTime::*, LinkLabel * frmVantorilTime::*,
                 QLineEdit * frmVantorilTime::*, QComboBox * frmVantorilTime::*, QPushButton * frmVantorilTime::*>;

using Frame = QGroupBox* frmVantorilTime::*;

struct Control {
    Member member;
    const char* name;
    Frame container;              // nullptr: the window itself
    int left, top, width, height; // twips
    int tab;                      // designed tab place, kept for labels and frames too
    const char* text;             // caption or initial text
    Font font = Font::Default;
    List list = List::None;
};

using F = frmVantorilTime;
const Control kControls[] = {
    {&F::Frame1, "Frame1", nullptr, 480, 0, 6375, 975, 0, "Vantoril Time", Font::LargeBold},
    {&F::Label1, "Label1", &F::Frame1, 840, 360, 4935, 495, 14,
     "This program calculates the Local Vantoril Time for any        location on the Earth for a given time (UTC)",
     Font::Large},
    {&F::Frame3, "Frame3", nullptr, 480, 1320, 6495, 2775, 15, "Data Input"},
    {&F::Label2, "Label2", &F::Frame3, 120, 480, 855, 255, 16, "Longitude"},
    {&F::Label3, "Label3", &F::Frame3, 1080, 240, 375, 255, 17, "Deg."},
    {&F::Label4, "Label4", &F::Frame3, 1560, 240, 375, 255, 18, "Min."},
    {&F::Label5, "Label5", &F::Frame3, 2040, 240, 375, 255, 19, "Sec."},
    {&F::Label6, "Label6", &F::Frame3, 2640, 240, 495, 255, 20, "E / W"},
    {&F::txtLngD, "txtLngD", &F::Frame3, 960, 480, 495, 315, 1, " "},
    {&F::txtLngM, "txtLngM", &F::Frame3, 1560, 480, 375, 315, 2, " "},
    {&F::txtLngS, "txtLngS", &F::Frame3, 2040, 480, 375, 315, 3, " "},
    {&F::cmbEW, "cmbEW", &F::Frame3, 2640, 480, 495, 315, 4, "E", Font::Default, List::EastWest},
    {&F::cmdPress, "cmdPress", &F::Frame3, 4560, 480, 855, 375, 11, "PRESS"},
    {&F::Label9, "Label9", &F::Frame3, 1200, 1080, 495, 255, 21, "Year"},
    {&F::Label10, "Label10", &F::Frame3, 1920, 1080, 495, 255, 22, "Month"},
    {&F::Label11, "Label11", &F::Frame3, 2760, 1080, 495, 255, 23, "Date"},
    {&F::Label12, "Label12", &F::Frame3, 4560, 1080, 255, 255, 26, "Hr."},
    {&F::Label13, "Label13", &F::Frame3, 5160, 1080, 375, 255, 27, "Min."},
    {&F::Label14, "Label14", &F::Frame3, 5640, 1080, 495, 255, 28, "Sec."},
    {&F::Label8, "Label8", &F::Frame3, 120, 1440, 855, 255, 24, "Date (UTC)"},
    {&F::txtYear, "txtYear", &F::Frame3, 1080, 1440, 615, 315, 5, "2002"},
    {&F::cmbMonth, "cmbMonth", &F::Frame3, 1920, 1440, 615, 315, 6, "01", Font::Default, List::Months},
    {&F::cmbDate, "cmbDate", &F::Frame3, 2640, 1440, 615, 315, 7, "01", Font::Default, List::Days},
    {&F::Label7, "Label7", &F::Frame3, 3480, 1440, 975, 255, 25, "Time (UTC)"},
    {&F::cmbHour, "cmbHour", &F::Frame3, 4440, 1440, 615, 315, 8, " 00", Font::Default, List::Hours},
    {&F::txtMinute, "txtMinute", &F::Frame3, 5160, 1440, 375, 285, 9, " "},
    {&F::txtSecond, "txtSecond", &F::Frame3, 5640, 1440, 375, 285, 10, " "},
    // At 8 pt the instructions need a third line their box has no room for.
    {&F::Label17, "Label17", &F::Frame3, 240, 2040, 6015, 495, 30,
     "Enter  the Longitude  of the location and select E/W . Then enter the UTC date and time and press the "
     "button. You can get the Local Vantoril time for the above location.",
     Font::Small},
    {&F::Label15, "Label15", nullptr, 720, 4440, 2295, 255, 12, "Local Vantoril Time  =", Font::LargeBold},
    {&F::txtVantorilTime, "txtVantorilTime", nullptr, 3120, 4320, 1095, 375, 13, " ", Font::LargeBold},
    {&F::Label16, "Label16", nullptr, 4800, 4440, 2280, 255, 29, "Programed by  Pelvorand"},
};

// A compact sans close in width to the classic 8 pt dialog font, so the
// short captions fit their narrow labels.
constexpr double kDefaultPointSize = 8.0;
constexpr double kLargePointSize = 9.75;
constexpr double kSmallPointSize = 7.5;

QFont FontOf(Font role)
{
    QFont font = frmVantorilTime::DefaultFont();
    if (role == Font::Small) font.setPointSizeF(kSmallPointSize);
    if (role == Font::Large || role == Font::LargeBold) font.setPointSizeF(kLargePointSize);
    // Set either way, so a label does not inherit the bold of its frame's title.
    font.setWeight(role == Font::LargeBold ? QFont::Bold : QFont::Normal);
    return font;
}

QStringList ItemsOf(List list)
{
    const auto twoDigits = [](int first, int last) {
        QStringList items;
        for (int i = first; i <= last; ++i) items << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
        return items;
    };
    switch (list) {
    case List::EastWest:
        return {QStringLiteral("E"), QStringLiteral("W")};
    case List::Months:
        return twoDigits(1, 12);
    case List::Days:
        return twoDigits(1, 31);
    case List::Hours:
        return twoDigits(0, 23);
    case List::None:
        break;
    }
    return {};
}

QWidget* Make(const Control& c, QWidget* in, const QString& text, QStyle* comboStyle)
{
    struct Maker {
        const Control& c;
        QWidget* in;
        const QString& text;
        QStyle* comboStyle;

        QWidget* operator()(QGroupBox* F::*) const { return new CachedGroupBox(text, in); }
        QWidget* operator()(LinkLabel* F::*) const { return new LinkLabel(text, in); }
        QWidget* operator()(QPushButton* F::*) const
        {
            auto* button = new QPushButton(text, in);
            // Not a default button: Enter presses it only while it has the focus.
            button->setAutoDefault(false);
            button->setDefault(false);
            return button;
        }
        QWidget* operator()(QLabel* F::*) const
        {
            auto* label = new QLabel(text, in);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(c.height > 255); // the two-line captions
            return label;
        }
        QWidget* operator()(QLineEdit* F::*) const
        {
            if (c.member == Member(&F::txtVantorilTime)) return new ResultBox(text, in);
            auto* box = new QLineEdit(text, in);
            // Input methods (on-screen keyboards, compose) stay on: what they
            // commit goes through the box's key procedure character by
            // character. The hints ask on-screen keyboards for their digits.
            box->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText);
            box->setMaxLength(std::numeric_limits<int>::max()); // no limit on the length
            box->setCursorPosition(0);
            return box;
        }
        QWidget* operator()(QComboBox* F::*) const
        {
            auto* combo = new FocusWheelComboBox(in);
            combo->setStyle(comboStyle);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->setCompleter(nullptr);
            // Typing is discarded here, so no on-screen keyboard is offered.
            combo->setAttribute(Qt::WA_InputMethodEnabled, false);
            combo->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
            combo->setMaxVisibleItems(8);
            const QStringList items = ItemsOf(c.list);
            combo->addItems(items);
            // The shown text is the designed one; when it is no item (" 00"), no item is current.
            combo->setCurrentIndex(static_cast<int>(items.indexOf(text)));
            combo->setEditText(text);
            return combo;
        }
    };
    return std::visit(Maker{c, in, text, comboStyle}, c.member);
}

} // namespace

QFont frmVantorilTime::DefaultFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(kDefaultPointSize);
    return font;
}

void frmVantorilTime::CreateControls()
{
    setFixedSize(7260 / kTwipsPerPixel, 4845 / kTwipsPerPixel);
    // Owned by the window, shared by its combos.
    auto* comboStyle = new CompactComboStyle;
    comboStyle->setParent(this);

    for (const Control& c : kControls) {
        QWidget* in = c.container == nullptr ? this : static_cast<QWidget*>(this->*c.container);
        QWidget* widget = Make(c, in, QString::fromUtf8(c.text), comboStyle);
        widget->setObjectName(QLatin1String(c.name));
        widget->setGeometry(c.left / kTwipsPerPixel, c.top / kTwipsPerPixel, c.width / kTwipsPerPixel,
                            c.height / kTwipsPerPixel);
        widget->setProperty("tabIndex", c.tab);
        if (c.font != Font::Default) widget->setFont(FontOf(c.font));
        if (auto* label = qobject_cast<QLabel*>(widget)) label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        std::visit(
            [this, widget](auto member) {
                this->*member = static_cast<std::remove_reference_t<decltype(this->*member)>>(widget);
            },
            c.member);
    }

    // Pasted, dropped and middle-clicked text counts what the box shows.
    for (QLineEdit* box : {txtLngD, txtLngM, txtLngS, txtYear, txtMinute, txtSecond}) {
        box->setValidator(new ShownTextValidator(box));
    }

    QPalette blue = Label16->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label16->setPalette(blue);
    Label16->setCursor(HandCursor(devicePixelRatioF()));
    DescribeForAssistiveTechnology();
}

void frmVantorilTime::DescribeForAssistiveTechnology()
{
    // Screen readers announce each input by what it asks for, whole. Its
    // caption labels it, and readers speak the label in place of the name;
    // the short captions ("Min.", "Sec.") are the same for longitude and
    // time and "UTC" stands only in the row's title, so each caption reads
    // as the whole name too.
    struct Described {
        QWidget* input;
        QLabel* caption;
        const char* name;
    };
    const Described inputs[] = {
        {txtLngD, Label3, "Longitude degrees"},
        {txtLngM, Label4, "Longitude minutes"},
        {txtLngS, Label5, "Longitude seconds"},
        {cmbEW, Label6, "East or west"},
        {txtYear, Label9, "Year, UTC"},
        {cmbMonth, Label10, "Month, UTC"},
        {cmbDate, Label11, "Day, UTC"},
        {cmbHour, Label12, "Hour, UTC"},
        {txtMinute, Label13, "Minute, UTC"},
        {txtSecond, Label14, "Second, UTC"},
        {txtVantorilTime, Label15, "Local Vantoril Time"},
    };
    for (const auto& [input, caption, name] : inputs) {
        input->setAccessibleName(QLatin1String(name));
        caption->setAccessibleName(QLatin1String(name));
        caption->setBuddy(input); // no mnemonics involved
    }
    cmdPress->setAccessibleName(QStringLiteral("PRESS"));
    Label16->setAccessibleDescription(QStringLiteral("Opens the author's home page"));
}

void frmVantorilTime::SetTabOrder()
{
    QList<QWidget*> focusable;
    for (auto* widget : findChildren<QWidget*>()) {
        if (!widget->property("tabIndex").isValid()) continue;
        if (qobject_cast<QLabel*>(widget) != nullptr || qobject_cast<QGroupBox*>(widget) != nullptr) {
            widget->setFocusPolicy(Qt::NoFocus); // they hold tab places but never take focus
        } else {
            focusable << widget;
        }
    }
    std::sort(focusable.begin(), focusable.end(), [](const QWidget* a, const QWidget* b) {
        return a->property("tabIndex").toInt() < b->property("tabIndex").toInt();
    });
    for (qsizetype i = 1; i < focusable.size(); ++i) setTabOrder(focusable[i - 1], focusable[i]);
}

} // namespace vantoril
