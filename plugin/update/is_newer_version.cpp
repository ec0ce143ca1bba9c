#include "plugin/update/is_newer_version.h"

#include <QString>
#include <QStringList>

bool IsNewerVersion(const std::string& installed, const std::string& candidate) {
    QStringList mine = QString::fromLatin1(installed.data(), static_cast<int>(installed.size()))
                           .split('.', Qt::SkipEmptyParts);
    QStringList theirs = QString::fromLatin1(candidate.data(), static_cast<int>(candidate.size()))
                             .split('.', Qt::SkipEmptyParts);
    while (mine.size() < theirs.size()) mine.append("0");
    while (theirs.size() < mine.size()) theirs.append("0");
    for (int i = 0; i < mine.size(); ++i) {
        // toInt gives 0 for a part that is not a number.
        int a = mine[i].toInt(nullptr, 10);
        int b = theirs[i].toInt(nullptr, 10);
        if (b > a)
            return true;
        if (b < a)
            return false;
    }
    return false;
}
