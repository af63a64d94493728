#pragma once

// The link plan as an object inside a text document: wherever the document
// is painted (a PDF, a printer) LinkPlanPainter draws it there in vectors,
// as wide as the page and no taller than most of one.

#include "editor/drawing/LinkPlanPainter.h"

#include <QObject>
#include <QTextObjectInterface>

class QTextDocument;

class PlanTextObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    // Appends `plan` to `document`, which draws it with this object from then
    // on; the plan and its texts must outlive the document.
    static void Append(QTextDocument& document, const LinkPlan& plan, const LinkPlanTexts& texts);

    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;

private:
    PlanTextObject(const LinkPlan& plan, const LinkPlanTexts& texts, QObject* parent);

    const LinkPlan& m_plan;
    const LinkPlanTexts& m_texts;
};
