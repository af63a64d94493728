#pragma once

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

// Keys as a user types them, blank apart: "space", "3*right", "shift+f10",
// "ctrl+t". Each goes where the keyboard's focus is (into a modal dialog when
// one is up), so that shortcuts, Tab and the focus work as at a desk.
inline void TypeKeys(const std::string& keys)
{
    static const std::map<std::string, Qt::Key> names{
        {"space", Qt::Key_Space}, {"left", Qt::Key_Left},     {"right", Qt::Key_Right},   {"up", Qt::Key_Up},
        {"down", Qt::Key_Down},   {"pgup", Qt::Key_PageUp},   {"pgdn", Qt::Key_PageDown}, {"home", Qt::Key_Home},
        {"end", Qt::Key_End},     {"f6", Qt::Key_F6},         {"f10", Qt::Key_F10},       {"enter", Qt::Key_Return},
        {"menu", Qt::Key_Menu},   {"escape", Qt::Key_Escape}, {"tab", Qt::Key_Tab},       {"t", Qt::Key_T}};
    std::istringstream words(keys);
    for (std::string word; words >> word;) {
        int times = 1;
        if (const auto star = word.find('*'); star != std::string::npos) {
            times = std::stoi(word.substr(0, star));
            word = word.substr(star + 1);
        }
        Qt::KeyboardModifiers modifiers;
        for (const auto& [prefix, modifier] :
             {std::pair{"shift+", Qt::ShiftModifier}, std::pair{"ctrl+", Qt::ControlModifier}}) {
            if (word.starts_with(prefix)) {
                modifiers |= modifier;
                word = word.substr(std::string(prefix).size());
            }
        }
        const Qt::Key key = names.at(word);
        for (int i = 0; i < times; ++i) {
            QWidget* modal = QApplication::activeModalWidget();
            QWidget* target = modal != nullptr ? modal : QApplication::focusWidget();
            ASSERT_NE(target, nullptr) << "no widget has the focus for " << word;
            QTest::keyClick(target, key, modifiers);
        }
    }
}
