#pragma once

#include <QColor>
#include <QWidget>

class EditorCell;

// The ring around the cell the keyboard works on, while its pane has the
// focus. It lies outside the cell, over the edges of its neighbours, so that
// the cell's mark and a comparison frame stay in sight; a thick line in the
// window's text colour and a thin one that parts it from the cell, so that it
// stands out on either pane in a light and a dark palette alike. It takes no
// clicks: they go to the cells below.
class CellCursorFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRing = 2;
    static constexpr int kKeyline = 1;

    explicit CellCursorFrame(QWidget* pane);

    // Rings `cell`, a child of the same pane.
    void ring(const EditorCell* cell);

    static QColor ringColour(const QPalette& palette);
    static QColor keylineColour(const QPalette& palette);

protected:
    void paintEvent(QPaintEvent* event) override;
};
