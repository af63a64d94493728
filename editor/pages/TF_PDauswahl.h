#pragma once

#include "editor/rules/LinkActionRules.h"
#include "editor/rules/LinkDialogContext.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <vector>

class ChoiceLabel;
class QAction;
class QScrollArea;

// The pop-up of a right-clicked link cell: one row per link on the cell, each
// offering to show the link, to switch it active or inactive, or to delete it.
// It only chooses; the link editor carries the answer out. The caller sets its
// caption and position. The arrow keys go from choice to choice ("abbrechen"
// last), Enter takes the one they are on, and Escape cancels as "abbrechen" does.
struct Station;

class TF_PDauswahl : public QDialog {
    Q_OBJECT
public:
    explicit TF_PDauswahl(QWidget* parent = nullptr);

    // Shows the links on the context's cell modally and returns the answer,
    // also left in context.result: 0 nothing chosen, 1000 + n delete link n,
    // 2000 + n show it, 4000 + n switch it.
    int32_t ask(const Station& station, LinkDialogContext& context);

    // The rows of the current or last showing.
    int rowCount() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void ensureLabels(std::size_t count);
    void placeRows(int rows);
    int neededWidth() const;
    void LabelClick(std::size_t index);
    void LabbrechenClick();
    // The choices the keys go through: the enabled ones shown, then "abbrechen".
    std::vector<ChoiceLabel*> keyChoices() const;
    void moveKeyChoice(int step);
    void showKeyChoice(ChoiceLabel* choice);
    // The caption in the current language, or the German one without a text.
    QString caption(std::size_t which) const;

    const Station* m_station = nullptr;
    LinkDialogContext* m_context = nullptr;
    std::vector<LinkDialogRow> m_rows;
    std::vector<ChoiceLabel*> m_labels; // "Label1", "Label2", ...: three per row
    ChoiceLabel* Labbrechen = nullptr;
    QScrollArea* m_rowScroller = nullptr;
    QWidget* m_rowArea = nullptr;
    ChoiceLabel* m_keyChoice = nullptr; // none until a key or the mouse chooses one
    // Carriers of the translated captions "abbrechen", the three defaults and the keys' help.
    std::array<QAction*, 5> m_captions{};
};
