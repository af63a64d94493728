#pragma once

#include "app/MainWindow.h"
#include "editor/rules/EditorLayout.h"
#include "model/ModuleModel.h"
#include "tests/common/ScopedConfigHome.h"
#include "tests/editor/TestModules.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class EditorCell;
class LinkEditorPage;
class QComboBox;
class QScrollBar;

// The real main window with its link editor page, a settings file that names
// no port, an empty model and no signal groups. Modules are added as a device
// read leaves them; links go straight into the table.
class EditorPageTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The station the window shows: modules and links go straight into it.
    Station& station() { return window->station(); }

    void addLink(int32_t q, int32_t regVon, int32_t bitVon, int32_t anzBit, int32_t z, int32_t regZ,
                        int32_t bitZ, int32_t deaktiv = 0);

    // Opens the link editor as the user does: the overview knows the modules,
    // then the tab is chosen. The window is shown (off screen).
    void openPage();

    // Chooses item `index` of a box the way a user does.
    void choose(QComboBox* box, int index);
    void choose(const char* boxName, int index);

    template <typename T>
    T* child(const QString& name) const
    {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QComboBox* box(const char* name) const;
    QScrollBar* scrollBar(const char* name) const;
    EditorCell* cell(int number) const;
    EditorCell* rowLabel(int number) const;
    std::string labelText(const char* name) const;
    std::string groupLabel(int k) const;
    std::vector<std::string> items(const char* boxName) const;

    // Row 0..9 of a pane in cell order (bit 0 first, whatever the column order), "." for an empty cell.
    std::string row(Pane pane, int r) const;
    // How many cells of a pane can be clicked.
    int offeredCells(Pane pane) const;

    ScopedConfigHome config;
    std::unique_ptr<TF_Kalmoria_main> window;
    LinkEditorPage* page = nullptr;
};
