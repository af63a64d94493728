#include "tests/editor/pages/EditorPageFixture.h"

#include "diag/AnsiText.h"
#include "editor/pages/EditorCell.h"
#include "editor/pages/LinkEditorPage.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/SignalGroups.h"

#include <QComboBox>
#include <QLabel>
#include <QScrollBar>

void EditorPageTest::SetUp()
{
    config.writeSettings("[Schnittstellen]\r\n");
    window = std::make_unique<TF_Kalmoria_main>();
    page = window->findChild<LinkEditorPage*>(QStringLiteral("TabSheet2"));
    ASSERT_NE(page, nullptr);
}

void EditorPageTest::TearDown()
{
    window.reset();
}

void EditorPageTest::addLink(int32_t q, int32_t regVon, int32_t bitVon, int32_t anzBit, int32_t z, int32_t regZ,
                             int32_t bitZ, int32_t deaktiv)
{
    ASSERT_TRUE(station().AppendLink(q, regVon, bitVon, anzBit, z, regZ, bitZ));
    station().LinkTable[static_cast<std::size_t>(station().AnzBefehle)].deaktiv = deaktiv;
}

void EditorPageTest::openPage()
{
    window->ZeigeStation();
    window->EnableLinkEditorPage();
    window->show();
    window->SelectPage(1);
}

void EditorPageTest::choose(QComboBox* target, int index)
{
    target->setCurrentIndex(index);
    emit target->activated(index);
}

void EditorPageTest::choose(const char* boxName, int index)
{
    choose(box(boxName), index);
}

QComboBox* EditorPageTest::box(const char* name) const
{
    return child<QComboBox>(QLatin1String(name));
}

QScrollBar* EditorPageTest::scrollBar(const char* name) const
{
    return child<QScrollBar>(QLatin1String(name));
}

EditorCell* EditorPageTest::cell(int number) const
{
    return child<EditorCell>(QStringLiteral("StaticText%1").arg(number));
}

EditorCell* EditorPageTest::rowLabel(int number) const
{
    return child<EditorCell>(QStringLiteral("STL%1").arg(number));
}

std::string EditorPageTest::labelText(const char* name) const
{
    return qStringToAnsi(child<QLabel>(QLatin1String(name))->text());
}

std::string EditorPageTest::groupLabel(int k) const
{
    return page->Memo1Line(k);
}

std::vector<std::string> EditorPageTest::items(const char* boxName) const
{
    std::vector<std::string> texts;
    for (int i = 0; i < box(boxName)->count(); ++i)
        texts.push_back(qStringToAnsi(box(boxName)->itemText(i)));
    return texts;
}

std::string EditorPageTest::row(Pane pane, int r) const
{
    std::string text;
    for (int column = 0; column < kPaneColumns; ++column) {
        const std::string& mark = cell(CellNumber(pane, r * kPaneColumns + column))->text();
        text += mark.empty() ? '.' : mark[0];
    }
    return text;
}

int EditorPageTest::offeredCells(Pane pane) const
{
    int count = 0;
    for (int index = 0; index < kPaneCells; ++index)
        count += cell(CellNumber(pane, index))->colour() == CellColour::Offered ? 1 : 0;
    return count;
}
