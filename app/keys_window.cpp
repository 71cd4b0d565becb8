#include "keys_window.h"

#include <QDialogButtonBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

#include "key_table.h"

namespace {

// Each key or gesture in bold, the commas between them not.
QString KeysHtml(const char* keys)
{
    QStringList parts = QString::fromUtf8(keys).split(QStringLiteral(", "));
    for (QString& part : parts)
        part = QStringLiteral("<b>%1</b>").arg(part.toHtmlEscaped());
    return parts.join(QStringLiteral(", "));
}

// The names between '*' in bold.
QString DoesHtml(const char* does)
{
    const QStringList parts = QString::fromUtf8(does).split(QLatin1Char('*'));
    QString html;
    for (qsizetype i = 0; i < parts.size(); ++i)
        html += i % 2 ? QStringLiteral("<b>%1</b>").arg(parts[i].toHtmlEscaped()) : parts[i].toHtmlEscaped();
    return html;
}

// The table as the window shows it, in Qt's rich text.
QString KeyTableHtml()
{
    QString html = QStringLiteral("<p>%1</p>").arg(QString::fromUtf8(KeyTableLead).toHtmlEscaped());
    for (const TKeyGroup& group : KeyTable()) {
        html += QStringLiteral("<h3>%1</h3><table cellpadding=\"3\" width=\"100%\">")
                    .arg(QString::fromUtf8(group.Title).toHtmlEscaped());
        for (const TKeyRow& row : group.Rows)
            html += QStringLiteral("<tr><td width=\"32%\">%1</td><td>%2</td></tr>").arg(KeysHtml(row.Keys),
                                                                                       DoesHtml(row.Does));
        html += QStringLiteral("</table>");
    }
    return html;
}

}  // namespace

TKeysWindow::TKeysWindow(QWidget* owner) : QWidget(owner, Qt::Tool)
{
    setWindowTitle(QStringLiteral("Keys and Mouse"));
    // Shown and clicked without taking the keyboard from the view.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    auto* layout = new QVBoxLayout(this);
    List = new QTextBrowser(this);
    List->setFocusPolicy(Qt::NoFocus);
    List->setHtml(KeyTableHtml());
    layout->addWidget(List);
    // Without a window manager there is no close box.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setFocusPolicy(Qt::NoFocus);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::hide);
    layout->addWidget(buttons);
    resize(560, 600);
}

void TKeysWindow::ShowBeside()
{
    if (!isVisible()) {
        const QWidget* owner = parentWidget();
        const QRect frame = owner->frameGeometry();
        const QRect room = owner->screen()->availableGeometry();
        // Its own frame, as far as it is known before it shows.
        const QSize outer = frameGeometry().size().expandedTo(size());
        QPoint at(frame.right() + 1, frame.top());
        if (at.x() + outer.width() > room.right() + 1 && frame.left() - outer.width() >= room.left())
            at.setX(frame.left() - outer.width());
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() + 1 - outer.width())));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() + 1 - outer.height())));
        move(at);
        resize(width(), std::min(height(), room.height() - (outer.height() - height())));
    }
    show();
    raise();
}

void AddHelpMenu(QMainWindow& window)
{
    QMenu* help = window.menuBar()->addMenu(QStringLiteral("Help"));
    QAction* keys = help->addAction(QStringLiteral("Keys and Mouse"));
    QObject::connect(keys, &QAction::triggered, &window, [&window] {
        auto* keysWindow = window.findChild<TKeysWindow*>(QString(), Qt::FindDirectChildrenOnly);
        if (!keysWindow)
            keysWindow = new TKeysWindow(&window);
        keysWindow->ShowBeside();
    });
}
