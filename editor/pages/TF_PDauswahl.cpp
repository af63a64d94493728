#include "editor/pages/TF_PDauswahl.h"

#include "diag/AnsiText.h"
#include "editor/pages/ChoiceLabel.h"
#include "editor/pages/EditorAccessibility.h"
#include "editor/pages/EditorSpeech.h"
#include "i18n/FormTranslation.h"
#include "i18n/LanguageTexts.h"
#include "model/Station.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int kClientWidth = 220;
constexpr int kLabelLeft = 8;
constexpr int kLabelWidth = 200;
constexpr int kLabelHeight = 17;
constexpr int kLabelPitch = 20;
constexpr int kLabelsPerRow = 3;
constexpr int kRowHeight = kLabelsPerRow * kLabelPitch;
constexpr int kCancelLeft = 1;
constexpr int kCancelWidth = 216;
constexpr int kCancelBottomGap = 3;
constexpr int kCancelStrip = 21; // below the rows: "abbrechen"
// Room for the title bar and frame when the rows must fit the screen.
constexpr int kWindowFrameAllowance = 48;
// Beside the caption in the title bar: the frame and the margins a window
// manager keeps at both ends.
constexpr int kTitleAllowance = 48;
// Between a choice's text and the label's ends.
constexpr int kTextAllowance = 8;

// The captions the language file replaces (texts 1..5 of the form's section):
// "abbrechen", then the grey captions of a label with nothing to offer, then
// what a screen reader tells of the keys.
enum Caption : std::size_t { Cancel, DefaultShow, DefaultSwitch, DefaultDelete, KeysHelp, CaptionCount };
constexpr std::array<const char*, CaptionCount> kGermanCaptions{
    "abbrechen", "Verkn\xFCpfung Anzeigen", "Verkn\xFCpfung aktiv/deaktiv", "Verkn\xFCpfung l\xF6schen",
    "Pfeiltasten: Auswahl; Eingabe: ausf\xFChren; Esc: abbrechen"};
constexpr std::array<const char*, CaptionCount> kCaptionNames{"CaptionAbbrechen", "CaptionAnzeigen",
                                                              "CaptionAktivDeaktiv", "CaptionLoeschen", "CaptionTasten"};

// The three labels of a row: show, switch, delete, with their answer codes.
constexpr std::array<int32_t, kLabelsPerRow> kAnswerBase{2000, 4000, 1000};

const std::string& rowText(const LinkDialogRow& row, std::size_t column)
{
    switch (column) {
    case 0:
        return row.showText;
    case 1:
        return row.switchText;
    default:
        return row.deleteText;
    }
}

} // namespace

TF_PDauswahl::TF_PDauswahl(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("F_PDauswahl"));

    for (std::size_t i = 0; i < CaptionCount; ++i) {
        m_captions[i] = new QAction(ansiToQString(kGermanCaptions[i]), this);
        m_captions[i]->setObjectName(QLatin1String(kCaptionNames[i]));
        m_captions[i]->setProperty("tag", static_cast<int>(i) + 1);
    }

    m_rowScroller = new QScrollArea(this);
    m_rowScroller->setObjectName(QStringLiteral("RowScroller"));
    m_rowScroller->setFrameShape(QFrame::NoFrame);
    m_rowScroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The arrow keys choose; they do not scroll.
    m_rowScroller->setFocusPolicy(Qt::NoFocus);
    m_rowArea = new QWidget;
    m_rowArea->setObjectName(QStringLiteral("RowArea"));
    m_rowScroller->setWidget(m_rowArea);

    Labbrechen = new ChoiceLabel(QStringLiteral("Labbrechen"), this);
    connect(Labbrechen, &ChoiceLabel::clicked, this, &TF_PDauswahl::LabbrechenClick);
    connect(Labbrechen, &ChoiceLabel::hovered, this, [this] { showKeyChoice(Labbrechen); });

    // A dialog made after the language was chosen speaks it from the start;
    // the main window's texts stay the current ones.
    const std::string section = TextSection();
    TranslateForm(this);
    SetTextSection(section);
}

int32_t TF_PDauswahl::ask(const Station& station, LinkDialogContext& context)
{
    context.result = 0;
    m_station = &station;
    m_context = &context;
    exec();
    m_context = nullptr;
    m_station = nullptr;
    return context.result;
}

int TF_PDauswahl::rowCount() const
{
    return static_cast<int>(m_rows.size());
}

void TF_PDauswahl::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

QString TF_PDauswahl::caption(std::size_t which) const
{
    const QString translated = m_captions[which]->text();
    // The language file lacks the text: "@NN" would tell the user nothing.
    return translated.startsWith(QLatin1Char('@')) ? ansiToQString(kGermanCaptions[which]) : translated;
}

void TF_PDauswahl::FormShow()
{
    m_rows = m_context != nullptr ? LinkDialogRows(*m_station, *m_context) : std::vector<LinkDialogRow>{};
    const std::size_t used = m_rows.size() * kLabelsPerRow;
    ensureLabels(used);
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        ChoiceLabel* label = m_labels[i];
        label->setVisible(i < used);
        if (i >= used)
            continue;
        const std::size_t column = i % kLabelsPerRow;
        const std::string& text = rowText(m_rows[i / kLabelsPerRow], column);
        label->setText(text.empty() ? caption(DefaultShow + column) : ansiToQString(text));
        label->setEnabled(!text.empty());
        const LinkDialogRow& row = m_rows[i / kLabelsPerRow];
        const bool active = m_station != nullptr && row.linkNumber >= 1 && row.linkNumber < kLinkTableSlots &&
                            m_station->LinkTable[static_cast<std::size_t>(row.linkNumber)].deaktiv == 0;
        label->setAccessibleDescription(SpokenLinkOfChoice(row.linkNumber, active));
        // A label chosen last time closed the dialog while still highlighted.
        label->setKeyChoice(false);
    }
    Labbrechen->setText(caption(Cancel));
    Labbrechen->setEnabled(true);
    Labbrechen->setKeyChoice(false);
    m_keyChoice = nullptr;
    setAccessibleDescription(caption(KeysHelp));
    placeRows(static_cast<int>(m_rows.size()));
}

// Creates the labels up to `count`; a label once made is kept for later showings.
void TF_PDauswahl::ensureLabels(std::size_t count)
{
    while (m_labels.size() < count) {
        const std::size_t index = m_labels.size();
        auto* label = new ChoiceLabel(QStringLiteral("Label%1").arg(index + 1), m_rowArea);
        label->setGeometry(kLabelLeft, static_cast<int>(index) * kLabelPitch, kLabelWidth, kLabelHeight);
        connect(label, &ChoiceLabel::clicked, this, [this, index] { LabelClick(index); });
        connect(label, &ChoiceLabel::hovered, this, [this, label] { showKeyChoice(label); });
        m_labels.push_back(label);
    }
}

// Each row takes 60 pixels and "abbrechen" the strip below them. Rows that
// would reach past the screen scroll, so that every link stays in reach.
void TF_PDauswahl::placeRows(int rows)
{
    const int rowsHeight = rows * kRowHeight;
    const QScreen* shownOn = screen();
    const int available = shownOn != nullptr ? shownOn->availableGeometry().height() - kWindowFrameAllowance
                                             : rowsHeight + kCancelStrip;
    const int clientHeight = std::min(rowsHeight + kCancelStrip, std::max(available, kRowHeight + kCancelStrip));
    const bool scrolls = rowsHeight + kCancelStrip > clientHeight;
    const int rowsWidth = neededWidth();
    const int clientWidth = rowsWidth + (scrolls ? m_rowScroller->verticalScrollBar()->sizeHint().width() : 0);

    for (ChoiceLabel* label : m_labels)
        label->resize(kLabelWidth + rowsWidth - kClientWidth, kLabelHeight);
    m_rowArea->resize(rowsWidth, rowsHeight);
    m_rowScroller->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m_rowScroller->setGeometry(0, 0, clientWidth, clientHeight - kCancelStrip);
    m_rowScroller->verticalScrollBar()->setValue(0);
    Labbrechen->setGeometry(kCancelLeft, clientHeight - kLabelHeight - kCancelBottomGap,
                            kCancelWidth + rowsWidth - kClientWidth, kLabelHeight);
    setFixedSize(clientWidth, clientHeight);
}

// 220 pixels, wider when the caption ("Auswahl f\xFCr  M:12 R:100 B:8") or a
// choice in the current language and font would be clipped.
int TF_PDauswahl::neededWidth() const
{
    int width = std::max(kClientWidth, QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"))
                                               .horizontalAdvance(windowTitle()) + kTitleAllowance);
    width = std::max(width, fontMetrics().horizontalAdvance(windowTitle()) + kTitleAllowance);
    for (const ChoiceLabel* label : m_labels) {
        if (label->isVisibleTo(this))
            width = std::max(width, label->fontMetrics().horizontalAdvance(label->text()) + kTextAllowance +
                                        kClientWidth - kLabelWidth);
    }
    return std::max(width, Labbrechen->fontMetrics().horizontalAdvance(Labbrechen->text()) + kTextAllowance +
                               kClientWidth - kCancelWidth);
}

void TF_PDauswahl::LabelClick(std::size_t index)
{
    const std::size_t row = index / kLabelsPerRow;
    if (row >= m_rows.size() || !m_labels[index]->isEnabled())
        return;
    const int32_t answer = kAnswerBase[index % kLabelsPerRow] + m_rows[row].linkNumber;
    if (m_context != nullptr)
        m_context->result = answer;
    accept();
}

void TF_PDauswahl::LabbrechenClick()
{
    reject();
}

std::vector<ChoiceLabel*> TF_PDauswahl::keyChoices() const
{
    std::vector<ChoiceLabel*> choices;
    for (ChoiceLabel* label : m_labels) {
        if (label->isVisibleTo(this) && label->isEnabled())
            choices.push_back(label);
    }
    choices.push_back(Labbrechen);
    return choices;
}

void TF_PDauswahl::showKeyChoice(ChoiceLabel* choice)
{
    if (m_keyChoice != nullptr && m_keyChoice != choice)
        m_keyChoice->setKeyChoice(false);
    m_keyChoice = choice;
    choice->setKeyChoice(true);
    m_rowScroller->ensureWidgetVisible(choice, 0, 0);
    AnnounceKeyFocus(choice);
}

// The first key down starts at the top, the first key up at "abbrechen"; both go round.
void TF_PDauswahl::moveKeyChoice(int step)
{
    const std::vector<ChoiceLabel*> choices = keyChoices();
    const auto count = static_cast<int>(choices.size());
    const auto current = std::find(choices.begin(), choices.end(), m_keyChoice);
    const int at = current == choices.end() ? (step > 0 ? -1 : count) : static_cast<int>(current - choices.begin());
    showKeyChoice(choices[static_cast<std::size_t>(((at + step) % count + count) % count)]);
}

void TF_PDauswahl::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_Backtab:
        moveKeyChoice(-1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
    case Qt::Key_Tab:
        moveKeyChoice(1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_keyChoice != nullptr)
            m_keyChoice->choose();
        break;
    case Qt::Key_Escape:
        LabbrechenClick();
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}
