#pragma once

#include "editor/rules/EditorGroups.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

// What a screen reader says about a part of the editor: its name, then what
// it is for or what a click does there.
struct SpokenText {
    QString name;
    QString description;
};

// One small flat box of the link editor: a bit cell, a register label or a
// column header. It paints its text centred on a background that says what
// a click can do, in colours taken from the palette so that a dark theme
// still reads, and reports every released mouse button.
class EditorCell : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Bit, RegisterLabel, ColumnHeader };
    using Speech = std::function<SpokenText()>;

    explicit EditorCell(Kind kind = Kind::Bit, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }

    // Texts are Windows-1252 bytes, as everywhere in the program.
    const std::string& text() const { return m_text; }
    bool isBold() const { return m_bold; }
    bool isInactive() const { return m_inactive; }
    bool isDiffering() const { return m_differing; }
    CellColour colour() const { return m_colour; }

    void setText(const std::string& text);
    void setBold(bool bold);
    // Drawn in a muted font colour: an inactive link.
    void setInactive(bool inactive);
    void setColour(CellColour colour);
    // Column headers overlap their neighbours and go without a frame.
    void setFramed(bool framed);
    // A bit whose link differs from the device's: a bold frame inside the cell.
    void setDiffering(bool differing);

    // What a screen reader is told, asked for each time it asks: the cell's
    // meaning changes with every click, the language with the menu.
    void setSpeech(Speech speech) { m_speech = std::move(speech); }
    // Without speech: the cell's text.
    SpokenText spoken() const;
    // The cell the keyboard works on, in the pane that has the focus.
    void setKeyFocus(bool focus) { m_keyFocus = focus; }
    bool hasKeyFocus() const { return m_keyFocus; }

    // The colours a cell of `colour` is painted in on `palette`. Cells outside
    // the data stand at least 3:1 apart from the cells a click can choose.
    static QColor background(const QPalette& palette, CellColour colour);
    static QColor foreground(const QPalette& palette, CellColour colour, bool inactive);
    // The frame around a differing bit: a warm colour apart from any
    // selection colour, dark on light cells and light on dark ones. On a cell
    // where it does not stand out by itself, a thin line of the window's text
    // or background colour (whichever does, else black or white) runs inside it.
    static QColor differingFrame(const QPalette& palette);
    static std::optional<QColor> differingKeyline(const QPalette& palette, CellColour colour);

signals:
    void released(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Kind m_kind;
    Speech m_speech;
    bool m_keyFocus = false;
    std::string m_text;
    QString m_shown; // m_text for the painter, converted once
    bool m_bold = false;
    bool m_inactive = false;
    bool m_framed = true;
    bool m_differing = false;
    CellColour m_colour = CellColour::OutsideData;
};
