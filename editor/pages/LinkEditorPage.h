#pragma once

#include "editor/rules/ComparisonFrames.h"
#include "editor/rules/LinkEditorState.h"

#include <QRect>
#include <QWidget>

#include <string>
#include <utility>
#include <vector>

class BitPane;
class LinkHistory;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class ShellView;
class TF_PDauswahl;

// The link editor page (TabSheet2): the source pane GQuelle and the target
// pane GZiehl side by side, each showing one module, one of its signal
// groups and a window of ten registers, with the links of the table drawn
// into the bit cells; below them the selection the user is building.
//
// A link is made in three steps: a source range (left clicks on its first
// and last bit, or on a register label), a target start (a left click on the
// target pane), then "übernehmen". Any other button on a bit that a link uses
// opens the link action dialog for the links on that bit.
//
// What the page shows is a LinkEditorState: each handler hands the user's
// action to it and shows what it says changed. Group labels come from the
// hidden text table Memo1, so they follow the language.
//
// All of it can be done from the keyboard: the panes' cell cursors stand in
// for the mouse (see BitPane), F6 goes from one pane to the other, and a
// screen reader is told what each cell, pane and box is.
class LinkEditorPage : public QWidget {
    Q_OBJECT
public:
    LinkEditorPage(ShellView& shell, Station& station, QWidget* parent);

    // Opening the page: both module boxes are rebuilt and their first
    // modules shown; without modules the overview is shown instead.
    void TabSheet2Show();
    // The dialog the link actions are chosen in; the page does not own it.
    void useLinkDialog(TF_PDauswahl* dialog);
    // Where take-overs, deletes and switches are kept as steps that can be
    // undone; the page does not own it. Without one they are just done.
    void useLinkHistory(LinkHistory* history);
    // The table's links changed under the page (an undo): both panes draw
    // them again and a half-made selection goes.
    void ShowLinksAgain();
    // The module at ModuleList position `position` becomes the source module.
    void ShowSourceModuleAt(int position);
    // After a language switch the group boxes show the new group labels;
    // what is chosen and drawn stays.
    void RelabelGroups();
    // From now on both panes frame the bits of the links that differ from
    // these device links (nothing: no frames), as the links stand at each redraw.
    void ShowComparison(const ComparedDeviceLinks& device);

    std::string Memo1Line(int i) const;
    const LinkEditorState& state() const { return m_state; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void createSelectionArea();
    // Where `widget` sits on the drawn page; layOut() places it, scaled to the font.
    void drawnAt(QWidget* widget, const QRect& drawn);
    void layOut();
    void connectHandlers();
    void connectPane(BitPane* pane);
    // Names and descriptions of the panes and their boxes, in the current language.
    void describeControls();
    void focusOtherPane();
    GroupLabels groupLabels() const;
    BitPane* paneWidget(Pane pane) const { return pane == Pane::Source ? GQuelle : GZiehl; }
    void showChange(const EditorChange& change);
    void showModule(Pane pane);
    void showCells(Pane pane);
    void showMarks(Pane pane);
    void showSelection();
    void openLinkActions(Pane pane, int index);
    void placeLinkDialog(Pane pane, int index, const LinkDialogContext& context);

    ShellView& m_shell;
    Station& m_station;
    LinkEditorState m_state;
    BitPane* GQuelle = nullptr;
    BitPane* GZiehl = nullptr;
    QLabel* LQuelleName = nullptr;
    QLabel* LZielName = nullptr;
    QLabel* LModulQ = nullptr;
    QLabel* LModulZ = nullptr;
    QLabel* LRegQ = nullptr;
    QLabel* LBitQ = nullptr;
    QLabel* LRegZ = nullptr;
    QLabel* LBitZ = nullptr;
    QLabel* LAnzBit = nullptr;
    QPushButton* BtnUebernehmen = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    std::vector<std::pair<QWidget*, QRect>> m_drawnPlaces;
    TF_PDauswahl* m_linkDialog = nullptr;
};
