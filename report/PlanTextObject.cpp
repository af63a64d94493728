#include "report/PlanTextObject.h"

#include "editor/drawing/LinkPlanTexts.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

constexpr int kPlanObject = QTextFormat::UserObject + 1;
// Room left on the plan's page for its heading.
constexpr double kLargestPageShare = 0.85;

} // namespace

PlanTextObject::PlanTextObject(const LinkPlan& plan, const LinkPlanTexts& texts, QObject* parent)
    : QObject(parent)
    , m_plan(plan)
    , m_texts(texts)
{
}

void PlanTextObject::Append(QTextDocument& document, const LinkPlan& plan, const LinkPlanTexts& texts)
{
    document.documentLayout()->registerHandler(kPlanObject, new PlanTextObject(plan, texts, &document));
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat centred = cursor.blockFormat();
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    QTextCharFormat object;
    object.setObjectType(kPlanObject);
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), object);
}

QSizeF PlanTextObject::intrinsicSize(QTextDocument* document, int, const QTextFormat&)
{
    const QSizeF page = document->pageSize();
    const double margins = 2 * document->documentMargin();
    const double width = std::max(1.0, (page.width() > 0 ? page.width() : 600) - margins - 1);
    const double height = page.height() > 0 ? (page.height() - margins) * kLargestPageShare : width;
    const double scale = std::min(width / std::max(m_plan.size.width(), 1.0),
                                  height / std::max(m_plan.size.height(), 1.0));
    return m_plan.size * scale;
}

void PlanTextObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int, const QTextFormat&)
{
    painter->save();
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / std::max(m_plan.size.width(), 1.0),
                   rect.height() / std::max(m_plan.size.height(), 1.0));
    LinkPlanPainter(m_plan, m_texts, LinkPlanPrintPalette()).paint(*painter);
    painter->restore();
}
