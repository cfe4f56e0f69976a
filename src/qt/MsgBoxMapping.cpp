#include "qt/MsgBoxMapping.h"

#include <QStringList>

#include "forms/Ui.h"
#include "qt/QtText.h"

namespace pvqt {

using SB = QMessageBox::StandardButton;

std::vector<SB> MsgBoxButtons(int style) {
    switch (style & forms::kButtonsMask) {
        case forms::vbOKCancel:
            return {SB::Ok, SB::Cancel};
        case forms::vbAbortRetryIgnore:
            return {SB::Abort, SB::Retry, SB::Ignore};
        case forms::vbYesNoCancel:
            return {SB::Yes, SB::No, SB::Cancel};
        case forms::vbYesNo:
            return {SB::Yes, SB::No};
        case forms::vbRetryCancel:
            return {SB::Retry, SB::Cancel};
        default:
            return {SB::Ok};
    }
}

QMessageBox::Icon MsgBoxIcon(int style) {
    switch (style & forms::kIconMask) {
        case forms::vbCritical:
            return QMessageBox::Critical;
        case forms::vbQuestion:
            return QMessageBox::Question;
        case forms::vbExclamation:
            return QMessageBox::Warning;
        case forms::vbInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

int MsgBoxAnswer(SB button) {
    switch (button) {
        case SB::Ok:
            return forms::vbOK;
        case SB::Abort:
            return forms::vbAbort;
        case SB::Retry:
            return forms::vbRetry;
        case SB::Ignore:
            return forms::vbIgnore;
        case SB::Yes:
            return forms::vbYes;
        case SB::No:
            return forms::vbNo;
        default:
            return forms::vbCancel;
    }
}

SB MsgBoxDefault(int style) {
    const auto buttons = MsgBoxButtons(style);
    const std::size_t index = static_cast<std::size_t>((style >> 8) & 0x3);
    return index < buttons.size() ? buttons[index] : buttons.front();
}

QString QtFileFilter(const std::string& vbFilter) {
    const QStringList parts = ToQt(vbFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        if (description.isEmpty()) continue;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns.isEmpty()) {
            filters << description;
            continue;
        }
        // Qt reads the patterns from the bracket at the end, so that bracket must
        // hold what the filter really matches.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace pvqt
