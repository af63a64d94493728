#pragma once

#include "editor/rules/LinkPlanLayout.h"
#include "editor/drawing/LinkPlanPainter.h"

#include <QDialog>
#include <QWidget>

#include <functional>
#include <optional>

class QPushButton;

// Shows a link plan scaled to fit the widget.
class LinkPlanView : public QWidget {
    Q_OBJECT
public:
    LinkPlanView(const LinkPlan& plan, const LinkPlanTexts& texts, QWidget* parent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const LinkPlan& m_plan;
    const LinkPlanTexts& m_texts;
};

// The one place the plan asks for a file name: the filter ("SVG-Grafik
// (*.svg)") and the proposed path in, the chosen path or nothing (cancelled)
// out. The program installs Qt's dialog at start; tests install a scripted one.
using PlanFileChooser = std::function<std::optional<QString>(const QString& filter, const QString& proposed)>;
// Installs the chooser and returns the previous one.
PlanFileChooser SetPlanFileChooser(PlanFileChooser chooser);
// Qt's save dialog, parented to the active window.
std::optional<QString> ShowQtPlanFileDialog(const QString& filter, const QString& proposed);

// "Verknüpfungsplan": the modules of the overview and the links of the table
// as they are when it opens, drawn in the window's palette, and saved as SVG
// or PNG for print, in a light palette whatever the desktop's theme.
struct Station;

class LinkPlanDialog : public QDialog {
    Q_OBJECT
public:
    // The plan of `station`'s overview and links as they are now.
    LinkPlanDialog(const Station& station, QWidget* parent);

    const LinkPlan& plan() const { return m_plan; }
    const LinkPlanTexts& texts() const { return m_texts; }

    // Asks for a file name and writes the plan; a file that cannot be written
    // is told in a message box.
    void BtnSvgClick();
    void BtnPngClick();

    // The palette saved plans are drawn in: dark on white.
    static QPalette printPalette();

private:
    enum class Format { Svg, Png };
    void save(Format format);
    QString proposedPath(Format format) const;

    // The link file the plan is saved beside, bytes of the file system.
    std::string m_linkFile;
    LinkPlan m_plan;
    LinkPlanTexts m_texts;
    LinkPlanView* View = nullptr;
    QPushButton* BtnSvg = nullptr;
    QPushButton* BtnPng = nullptr;
    QPushButton* BtnSchliessen = nullptr;
};
