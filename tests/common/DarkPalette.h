#pragma once

#include <QColor>
#include <QPalette>

// A desktop's dark theme as Fusion users set it: every role a widget paints
// with, dark backgrounds and light text, blue selection and links.
inline QPalette DarkDesktopPalette()
{
    QPalette dark(QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(0x23, 0x23, 0x23));
    dark.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ToolTipBase, QColor(0x31, 0x36, 0x3B));
    dark.setColor(QPalette::ToolTipText, Qt::white);
    dark.setColor(QPalette::PlaceholderText, QColor(0x9A, 0x9A, 0x9A));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::BrightText, Qt::red);
    dark.setColor(QPalette::Link, QColor(0x2A, 0x82, 0xDA));
    dark.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    return dark;
}
