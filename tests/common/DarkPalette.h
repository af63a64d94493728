#pragma once

#include <QColor>
#include <QPalette>

#include <array>

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

// The "darker" colour scheme of the qt6ct configuration tool, role by role
// as its file lists them: a tool tip colour barely lighter than the window,
// and a light shadow.
inline QPalette QtctDarkerPalette()
{
    const std::array<QRgb, 21> roles{0xffffff, 0x424245, 0x979797, 0x5e5c5b, 0x302f2e, 0x4a4947, 0xffffff,
                                     0xffffff, 0xffffff, 0x3d3d3d, 0x222020, 0xe7e4e0, 0x12608a, 0xf9f9f9,
                                     0x0986d3, 0xa70b06, 0x5c5b5a, 0xffffff, 0x3f3f36, 0xffffff, 0x80ffffff};
    QPalette palette;
    for (std::size_t role = 0; role < roles.size(); ++role) {
        const QColor colour = QColor::fromRgba(role + 1 == roles.size() ? roles[role] : 0xff000000 | roles[role]);
        palette.setColor(static_cast<QPalette::ColorRole>(role), colour);
    }
    return palette;
}
