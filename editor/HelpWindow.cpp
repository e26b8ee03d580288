// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/HelpWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "base/XdgFolders.h"
#include "platform/Text.h"

namespace plc {

QString HelpDirectory() {
    return FileNameToQString(HelpFolder(FileNameToBytes(QCoreApplication::applicationDirPath())));
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("help");
    setWindowTitle("PlcEdit help");
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(false);
    m_browser->setOpenLinks(true);

    auto* bar = new QToolBar(this);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), "&Back");
    back->setObjectName("back");
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), "&Forward");
    forward->setObjectName("forward");
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    QAction* contents = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), "&Contents");
    contents->setObjectName("contents");
    bar->addSeparator();
    m_search = new QLineEdit(bar);
    m_search->setObjectName("search");
    m_search->setPlaceholderText("Search this page");
    m_search->setClearButtonEnabled(true);
    bar->addWidget(m_search);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(contents, &QAction::triggered, this, [this] {
        if (!m_directory.isEmpty()) ShowPage(m_directory, "index.html", {});
    });
    connect(m_search, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        m_search->setFocus();
        m_search->selectAll();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_browser);
    resize(760, 600);
}

bool HelpWindow::FindNext() {
    const QString text = m_search->text();
    if (text.isEmpty()) return false;
    if (m_browser->find(text)) return true;
    // From the top once more.
    m_browser->moveCursor(QTextCursor::Start);
    return m_browser->find(text);
}

void HelpWindow::ShowOnScreen() {
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen && !isVisible()) {
        const QRect area = screen->availableGeometry();
        const QSize size = this->size().boundedTo(area.size() - QSize(40, 60));
        resize(size);
        // Beside the editor where there is room, else centred; always
        // inside the screen's free area, title bar included.
        QPoint at = owner ? owner->frameGeometry().topRight() + QPoint(8, 0) : area.center();
        if (!owner || at.x() + size.width() > area.right()) at = area.center() - QPoint(size.width() / 2, size.height() / 2);
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - size.width())));
        at.setY(std::clamp(at.y(), area.top() + 30, std::max(area.top() + 30, area.bottom() - size.height())));
        move(at);
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::ShowPage(const QString& directory, const QString& page, const QString& anchor) {
    m_directory = directory;
    m_browser->setSearchPaths({directory});
    QUrl url = QUrl::fromLocalFile(directory + "/" + page);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    m_browser->setSource(url);
    if (!anchor.isEmpty()) m_browser->scrollToAnchor(anchor);
}

}  // namespace plc
