#pragma once
// Doubles for the transfer layer's seams.

#include "operations/OverwriteQuestion.h"
#include "platform/FileNames.h"
#include "transfer/FolderSource.h"

#include <QHash>
#include <QStringList>

#include <atomic>
#include <cerrno>
#include <deque>
#include <mutex>
#include <thread>

namespace zv::test {

// Records each question as "titel|DateiName" and answers from a script ("n" when it runs dry).
class ScriptedQuestion : public OverwriteQuestion {
public:
    QStringList asked;
    std::deque<QString> answers;
    QString ReqOverWr(const OverwriteFiles &files, const QString &titel) override
    {
        asked << titel + QLatin1Char('|') + displayFileName(files.existing.section(QLatin1Char('/'), -1));
        if (answers.empty())
            return QStringLiteral("n");
        const QString a = answers.front();
        answers.pop_front();
        return a;
    }
};

// A folder tree in memory: "path" -> its subfolder names. Counts every read; paths missing from
// the map cannot be read (no medium); reads of `hanging` wait until release() (an unreachable mount).
class FakeFolderSource : public FolderSource {
public:
    QHash<QString, QStringList> folders;
    QString hanging;
    mutable std::atomic_int reads{0};
    mutable std::mutex readLog;
    mutable QStringList readPaths;

    SubFolders subfolders(const QString &path) const override
    {
        ++reads;
        {
            std::lock_guard lock(readLog);
            readPaths << path;
        }
        while (!hanging.isEmpty() && path == hanging && !m_released)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const auto it = folders.constFind(path);
        if (it == folders.constEnd())
            return {std::nullopt, ENOMEDIUM};
        QList<SubFolder> result;
        const QString prefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
        for (const QString &name : *it)
            result.append({prefix + name, name});
        return {result};
    }
    void release() { m_released = true; }

private:
    std::atomic_bool m_released{false};
};

} // namespace zv::test
