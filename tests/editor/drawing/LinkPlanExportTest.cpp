#include "editor/pages/ChangedMark.h"
#include "editor/drawing/ContrastColour.h"
#include "editor/pages/EditorCell.h"
#include "editor/pages/LinkPlanDialog.h"
#include "editor/drawing/LinkPlanPainter.h"
#include "tests/common/DarkPalette.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TempDir.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

LinkFields link(int32_t from, int32_t to, int32_t deaktiv = 0)
{
    return {from, 100, 0, 4, to, 300, 0, deaktiv};
}

PlanModule module(int32_t address, const std::string& name)
{
    PlanModule m;
    m.address = address;
    m.name = name;
    return m;
}

// A small station: the central device, a pumping station and a well; three
// active and one inactive link from the pumping station to the well, two of
// the well to itself and one to a module 40 the overview lacks.
LinkPlan stationPlan()
{
    const std::vector<PlanModule> overview{module(0, "Zentrale"), module(2, "Pumpwerk Nord"),
                                           module(9, "Brunnen Lindenau")};
    const std::vector<LinkRecord> links = linkRecords(
        {link(2, 9), link(2, 9), link(2, 9, 1), link(2, 9), link(9, 9), link(9, 9), link(9, 39)});
    return LayOutLinkPlan(overview, links);
}

LinkPlanTexts germanTexts()
{
    return {QStringLiteral("Verkn\u00FCpfungsplan"),
            QStringLiteral("QMX mit der Seriennummer 4711, Adresse 10: 3 Module, 7 Verkn\u00FCpfungen, "
                           "davon 1 inaktiv"),
            QStringLiteral("aktiv"), QStringLiteral("inaktiv"), QStringLiteral("Anzahl der Verkn\u00FCpfungen"),
            QStringLiteral("nicht in der Modul\u00FCbersicht")};
}

// The texts of an SVG file's text elements, in document order.
std::vector<QString> svgTexts(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    std::vector<QString> texts;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
            texts.push_back(xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed());
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return texts;
}

int occurrences(const std::vector<QString>& texts, const QString& text)
{
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

// The light and dark palettes a plan and the editor must read in.
std::vector<std::pair<std::string, QPalette>> palettes()
{
    return {{"style", QApplication::style()->standardPalette()},
            {"print", LinkPlanDialog::printPalette()},
            {"plain dark", QPalette(QColor(0x35, 0x35, 0x35))},
            {"dark theme", DarkDesktopPalette()},
            {"darker scheme", QtctDarkerPalette()}};
}

// Hues at least a quarter turn apart, or one of the two colours grey: a
// marked cell cannot be taken for a selected one.
bool toldApartByHue(const QColor& a, const QColor& b)
{
    if (a.hsvHue() < 0 || b.hsvHue() < 0)
        return a.hsvHue() != b.hsvHue();
    const int distance = std::abs(a.hsvHue() - b.hsvHue());
    return std::min(distance, 360 - distance) >= 90;
}

} // namespace

TEST(LinkPlanFile, AnSvgHoldsTheModulesTheirNamesAndTheCountsAsText)
{
    const TempDir folder;
    const LinkPlan plan = stationPlan();
    const QString path = QString::fromStdString(folder.file("plan.svg"));
    QString error;
    ASSERT_TRUE(SaveLinkPlanSvg(plan, germanTexts(), LinkPlanDialog::printPalette(), path, &error))
        << error.toStdString();

    const std::vector<QString> texts = svgTexts(path);
    EXPECT_EQ(occurrences(texts, germanTexts().title), 1);
    EXPECT_EQ(occurrences(texts, germanTexts().subtitle), 1);
    // Module numbers as the link table counts them, with their names.
    for (const char* text : {"1", "Zentrale", "Pumpwerk Nord", "10", "Brunnen Lindenau"})
        EXPECT_GE(occurrences(texts, QString::fromUtf8(text)), 1) << text;
    // The module the overview lacks: its number and what is wrong with it (on
    // one line or two), in the box and in the legend.
    EXPECT_EQ(occurrences(texts, QStringLiteral("40")), 1);
    QStringList all;
    for (const QString& text : texts)
        all << text;
    EXPECT_EQ(all.join(QLatin1Char(' ')).count(QStringLiteral("nicht in der Modul\u00FCbersicht")), 2);
    // The counts: 3 active and 1 inactive from module 3 to 10, 2 on 10 itself, 1 to 40 (and the legend's 3).
    EXPECT_EQ(occurrences(texts, QStringLiteral("3")), 1 + 1 + 1) << "module 3, the arrow and the legend";
    EXPECT_EQ(occurrences(texts, QStringLiteral("2")), 1);
    EXPECT_EQ(occurrences(texts, QStringLiteral("1")), 1 + 2) << "module 1 and two arrows of one link";
    for (const char* legend : {"aktiv", "inaktiv", "Anzahl der Verkn\u00FCpfungen"})
        EXPECT_EQ(occurrences(texts, QString::fromUtf8(legend)), 1) << legend;

    // Any SVG viewer shows it at the plan's size.
    QSvgRenderer renderer(path);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBoxF(), QRectF(QPointF(), plan.size));
}

TEST(LinkPlanFile, APngHoldsThePlanAtTwiceItsSizeForPrint)
{
    const TempDir folder;
    const LinkPlan plan = stationPlan();
    const QString path = QString::fromStdString(folder.file("plan.png"));
    ASSERT_TRUE(SaveLinkPlanPng(plan, germanTexts(), LinkPlanDialog::printPalette(), path));

    QImage image;
    ASSERT_TRUE(image.load(path, "PNG"));
    const QSize expected(static_cast<int>(std::ceil(plan.size.width() * 2)),
                         static_cast<int>(std::ceil(plan.size.height() * 2)));
    EXPECT_EQ(LinkPlanImageSize(plan), expected);
    EXPECT_EQ(image.size(), expected);
    // White paper, and the boxes of the modules in the button colour.
    EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::white));
    const QRectF box = plan.modules[0].box;
    EXPECT_EQ(image.pixelColor(static_cast<int>(box.left() * 2 + 8), static_cast<int>(box.top() * 2 + 8)),
              LinkPlanDialog::printPalette().color(QPalette::Button));
    EXPECT_NEAR(image.dotsPerMeterX(), 192 / 0.0254, 1) << "printed at the plan's size";
}

TEST(LinkPlanFile, AHugePlanGivesAnImageOfAtMost12000PixelsASide)
{
    // 598 modules: the most that 299 links from a file can name.
    std::vector<LinkFields> links;
    for (int32_t i = 0; i < 299; ++i)
        links.push_back(link(1000 + 2 * i, 1001 + 2 * i));
    const std::vector<LinkRecord> records = linkRecords(links);
    const LinkPlan plan = LayOutLinkPlan({}, records);
    ASSERT_EQ(plan.modules.size(), 598U);
    const QSize size = LinkPlanImageSize(plan);
    EXPECT_LE(std::max(size.width(), size.height()), 12000);
    EXPECT_NEAR(static_cast<double>(size.width()) / size.height(), plan.size.width() / plan.size.height(), 0.01);
}

TEST(LinkPlanFile, AFileThatCannotBeWrittenIsToldAndNothingIsLeftBehind)
{
    const TempDir folder;
    const LinkPlan plan = stationPlan();
    for (const bool svg : {true, false}) {
        const QString path = QString::fromStdString(folder.file("missing/plan"));
        QString error;
        const bool saved = svg ? SaveLinkPlanSvg(plan, germanTexts(), LinkPlanDialog::printPalette(), path, &error)
                               : SaveLinkPlanPng(plan, germanTexts(), LinkPlanDialog::printPalette(), path, &error);
        EXPECT_FALSE(saved);
        EXPECT_FALSE(error.isEmpty());
    }
    // An existing file is replaced whole.
    folder.write("plan.svg", "old");
    ASSERT_TRUE(SaveLinkPlanSvg(plan, germanTexts(), LinkPlanDialog::printPalette(),
                                QString::fromStdString(folder.file("plan.svg"))));
    EXPECT_EQ(folder.read("plan.svg").rfind("<?xml", 0), 0U);
}

TEST(LinkPlanColours, ReadInLightAndDarkPalettes)
{
    const LinkPlan plan = stationPlan();
    const LinkPlanTexts texts = germanTexts();
    for (const auto& [name, palette] : palettes()) {
        const LinkPlanPainter painter(plan, texts, palette);
        EXPECT_GE(ContrastRatio(painter.text(), painter.background()), 4.5) << name;
        EXPECT_GE(ContrastRatio(painter.text(), painter.boxFill()), 4.5) << name;
        EXPECT_GE(ContrastRatio(painter.activeArrow(), painter.background()), 3) << name;
        EXPECT_GE(ContrastRatio(painter.inactiveArrow(), painter.background()), 2.5) << name;
        EXPECT_GE(ContrastRatio(painter.missingText(), painter.background()), 2.5) << name;
        EXPECT_NE(painter.activeArrow(), painter.inactiveArrow()) << name;
    }
}

TEST(LinkPlanColours, TheScreenShowsThePaletteOfTheWindow)
{
    const LinkPlan plan = stationPlan();
    const LinkPlanTexts texts = germanTexts();
    const QPalette dark = DarkDesktopPalette();
    QImage image(plan.size.toSize(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        LinkPlanPainter(plan, texts, dark).paint(painter);
    }
    EXPECT_EQ(image.pixelColor(3, 3), dark.color(QPalette::Base));
    const QPoint inBox = plan.modules[1].box.topLeft().toPoint() + QPoint(6, 6);
    EXPECT_EQ(image.pixelColor(inBox), dark.color(QPalette::Button));
}

TEST(DifferingBitFrame, StandsOutOnEveryCellBackgroundInLightAndDarkPalettes)
{
    for (const auto& [name, palette] : palettes()) {
        const QColor frame = EditorCell::differingFrame(palette);
        EXPECT_TRUE(toldApartByHue(frame, palette.color(QPalette::Highlight))) << name;
        EXPECT_TRUE(toldApartByHue(frame, EditorCell::background(palette, CellColour::SkyBlue))) << name;
        for (const CellColour colour : {CellColour::Offered, CellColour::OutsideData, CellColour::SkyBlue}) {
            const QColor fill = EditorCell::background(palette, colour);
            const std::optional<QColor> keyline = EditorCell::differingKeyline(palette, colour);
            if (keyline)
                EXPECT_GE(ContrastRatio(*keyline, fill), 4.5) << name << " " << static_cast<int>(colour);
            else
                EXPECT_GE(ContrastRatio(frame, fill), 3) << name << " " << static_cast<int>(colour);
        }
    }
    // In a light palette the frame needs no line inside.
    const QPalette light = QApplication::style()->standardPalette();
    for (const CellColour colour : {CellColour::Offered, CellColour::OutsideData, CellColour::SkyBlue})
        EXPECT_FALSE(EditorCell::differingKeyline(light, colour).has_value()) << static_cast<int>(colour);
}

TEST(BitCells, ThoseAClickCanChooseStandApartFromTheOthersAndTheirTextsRead)
{
    for (const auto& [name, palette] : palettes()) {
        const QColor offered = EditorCell::background(palette, CellColour::Offered);
        const QColor outside = EditorCell::background(palette, CellColour::OutsideData);
        EXPECT_GE(ContrastRatio(offered, outside), 3) << name;
        // Lighter, as on the light desktop: a dark theme must not turn the cue round.
        EXPECT_GT(ContrastRatio(offered, Qt::black), ContrastRatio(outside, Qt::black)) << name;
        for (const CellColour colour : {CellColour::Offered, CellColour::OutsideData, CellColour::SkyBlue}) {
            EXPECT_GE(ContrastRatio(EditorCell::foreground(palette, colour, false), EditorCell::background(palette, colour)),
                      4.5)
                << name << " " << static_cast<int>(colour);
        }
    }
    // The changed fields of the link table are not painted like its selection.
    for (const auto& [name, palette] : palettes())
        EXPECT_TRUE(toldApartByHue(kChangedFieldFill, palette.color(QPalette::Highlight))) << name;
    EXPECT_GE(ContrastRatio(kChangedFieldFill, kTextOnChangedField), 4.5);
}

TEST(DifferingBitFrame, IsDrawnInsideTheCellAndGoesAgain)
{
    EditorCell cell(EditorCell::Kind::Bit);
    cell.resize(20, 20);
    cell.setColour(CellColour::Offered);
    cell.setText("A");
    const QColor frame = EditorCell::differingFrame(cell.palette());
    EXPECT_NE(cell.grab().toImage().pixelColor(1, 10), frame);
    cell.setDiffering(true);
    EXPECT_TRUE(cell.isDiffering());
    const QImage framed = cell.grab().toImage();
    for (const QPoint& edge : {QPoint(1, 10), QPoint(18, 10), QPoint(10, 1), QPoint(10, 18), QPoint(0, 0)})
        EXPECT_EQ(framed.pixelColor(edge), frame) << edge.x() << "," << edge.y();
    EXPECT_EQ(framed.pixelColor(4, 4), EditorCell::background(cell.palette(), CellColour::Offered));
    cell.setDiffering(false);
    EXPECT_NE(cell.grab().toImage().pixelColor(1, 10), frame);

    // On the dark theme's sky blue, a line of the window colour inside the frame.
    cell.setPalette(DarkDesktopPalette());
    cell.setColour(CellColour::SkyBlue);
    cell.setDiffering(true);
    const QImage sky = cell.grab().toImage();
    EXPECT_EQ(sky.pixelColor(1, 10), EditorCell::differingFrame(DarkDesktopPalette()));
    EXPECT_EQ(sky.pixelColor(2, 10), DarkDesktopPalette().color(QPalette::Window));
    EXPECT_EQ(sky.pixelColor(4, 4), EditorCell::background(DarkDesktopPalette(), CellColour::SkyBlue));
}
