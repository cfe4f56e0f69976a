#include "CodeWindow.h"

#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMenu>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "LineSync.h"
#include "host/ModuleText.h"
#include "host/VBE.h"
#include "qt/QtText.h"
#include "vbrt/VbError.h"

namespace studio {
namespace {

class Counter {
public:
    explicit Counter(int& n) : n_(n) { ++n_; }
    ~Counter() { --n_; }
    Counter(const Counter&) = delete;
    Counter& operator=(const Counter&) = delete;

private:
    int& n_;
};

QFont CodeFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(10);
    return font;
}

}  // namespace

CodeWindow::CodeWindow(host::VBComponent& component, QWidget* parent)
    : QPlainTextEdit(parent), component_(component), module_(component.CodeModule()) {
    setFont(CodeFont());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 4);
    setObjectName(QString::fromStdString(component.Name()));
    {
        // One setPlainText for the whole module: line-by-line inserts would be far slower.
        const Counter guard(fromModel_);
        setPlainText(pvqt::ToQt(module_.AllText()));
    }
    dirty_ = component_.IsDirty();
    connect(document(), &QTextDocument::contentsChange, this, &CodeWindow::OnContentsChange);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CodeWindow::ReportSelection);
    connect(this, &QPlainTextEdit::selectionChanged, this, &CodeWindow::ReportSelection);
    linesListener_ = module_.OnLinesChanged(
        [this](long first, long removed, long inserted) { OnModuleChanged(first, removed, inserted); });
    selectionListener_ = Pane().OnSelectionSet([this](const host::Selection& s) { OnSelectionSet(s); });
}

CodeWindow::~CodeWindow() {
    module_.RemoveListener(linesListener_);
    Pane().RemoveListener(selectionListener_);
}

host::CodePane& CodeWindow::Pane() {
    return module_.CodePane();
}

void CodeWindow::OnContentsChange(int position, int removed, int added) {
    Q_UNUSED(removed);
    if (fromModel_) return;
    QTextDocument* doc = document();
    const long oldLines = module_.CountOfLines();
    const long newBlocks = doc->blockCount();
    const QTextBlock firstBlock = doc->findBlock(position);
    QTextBlock lastBlock = doc->findBlock(position + added);
    if (!lastBlock.isValid()) lastBlock = doc->lastBlock();
    const BlockSpan span = AffectedBlocks(firstBlock.isValid() ? firstBlock.blockNumber() : newBlocks - 1,
                                          lastBlock.blockNumber(), newBlocks, std::max(oldLines, 1L));
    LineEdit edit;
    edit.first = span.first;
    edit.oldCount = std::min(span.oldCount, std::max(oldLines - span.first, 0L));
    const bool emptyDocument = newBlocks == 1 && doc->firstBlock().length() <= 1;
    if (!emptyDocument) {
        QTextBlock block = doc->findBlockByNumber(static_cast<int>(span.first));
        for (long i = 0; i < span.newCount && block.isValid(); ++i, block = block.next())
            edit.newLines.push_back(pvqt::FromQt(block.text()));
    }
    {
        const Counter guard(toModel_);
        try {
            ApplyLineEdit(module_, edit);
        } catch (const vbrt::VbError& e) {
            qWarning("code window out of step with %s: %s", component_.Name().c_str(), e.what());
        }
    }
    RefreshDirty();
}

void CodeWindow::OnModuleChanged(long firstLine, long removed, long inserted) {
    if (toModel_) return;
    {
        const Counter guard(fromModel_);
        const long b = firstLine - 1;
        const long oldCount = module_.CountOfLines() - inserted + removed;
        QStringList lines;
        for (long i = 0; i < inserted; ++i) lines << pvqt::ToQt(module_.Text().Line(b + i));
        const QString text = lines.join(QLatin1Char('\n'));
        QTextDocument* doc = document();
        auto blockStart = [doc](long n) { return doc->findBlockByNumber(static_cast<int>(n)).position(); };
        auto blockEnd = [doc](long n) {
            const QTextBlock block = doc->findBlockByNumber(static_cast<int>(n));
            return block.position() + block.length() - 1;
        };
        QTextCursor c(doc);
        c.beginEditBlock();
        if (oldCount == 0 || (b == 0 && removed == oldCount)) {
            c.select(QTextCursor::Document);
            c.insertText(text);
        } else if (removed > 0 && inserted > 0) {
            c.setPosition(blockStart(b));
            c.setPosition(blockEnd(b + removed - 1), QTextCursor::KeepAnchor);
            c.insertText(text);
        } else if (removed > 0) {
            const bool toEnd = b + removed >= oldCount;
            c.setPosition(toEnd ? blockEnd(b - 1) : blockStart(b));
            c.setPosition(toEnd ? blockEnd(oldCount - 1) : blockStart(b + removed), QTextCursor::KeepAnchor);
            c.removeSelectedText();
        } else if (inserted > 0) {
            const bool atEnd = b >= oldCount;
            c.setPosition(atEnd ? blockEnd(oldCount - 1) : blockStart(b));
            c.insertText(atEnd ? QLatin1Char('\n') + text : text + QLatin1Char('\n'));
        }
        c.endEditBlock();
    }
    RefreshDirty();
}

void CodeWindow::RefreshDirty() {
    const bool dirty = component_.IsDirty();
    if (dirty == dirty_) return;
    dirty_ = dirty;
    emit dirtyChanged(dirty);
}

QTextCursor CodeWindow::CursorAt(long line, long column) const {
    const int count = document()->blockCount();
    const QTextBlock block =
        document()->findBlockByNumber(std::clamp(static_cast<int>(line) - 1, 0, count - 1));
    QTextCursor c(block);
    c.setPosition(block.position() + std::clamp(static_cast<int>(column) - 1, 0, block.length() - 1));
    return c;
}

void CodeWindow::OnSelectionSet(const host::Selection& s) {
    {
        const Counter guard(fromModel_);
        QTextCursor c = CursorAt(s.startLine, s.startColumn);
        c.setPosition(CursorAt(s.endLine, s.endColumn).position(), QTextCursor::KeepAnchor);
        setTextCursor(c);
        ensureCursorVisible();
    }
    emit caretMoved(s.endLine, s.endColumn);
}

void CodeWindow::ReportSelection() {
    if (fromModel_) return;
    const QTextCursor c = textCursor();
    const QTextBlock first = document()->findBlock(c.selectionStart());
    const QTextBlock last = document()->findBlock(c.selectionEnd());
    host::Selection s;
    s.startLine = first.blockNumber() + 1;
    s.startColumn = c.selectionStart() - first.position() + 1;
    s.endLine = last.blockNumber() + 1;
    s.endColumn = c.selectionEnd() - last.position() + 1;
    Pane().UpdateFromView(s);
    emit caretMoved(c.blockNumber() + 1, c.positionInBlock() + 1);
}

void CodeWindow::SelectLines(int first, int last) {
    QTextCursor c = CursorAt(first, 1);
    const QTextBlock end =
        document()->findBlockByNumber(std::clamp(last - 1, 0, document()->blockCount() - 1));
    c.setPosition(end.position() + end.length() - 1, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

std::unique_ptr<QMenu> CodeWindow::BuildContextMenu() {
    if (menuFactory_) return menuFactory_(*this);
    return std::unique_ptr<QMenu>(createStandardContextMenu());
}

void CodeWindow::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu = BuildContextMenu();
    menu->exec(event->globalPos());
}

}  // namespace studio
