#include "core/LinkFileRead.h"

#include "diag/AnsiText.h"
#include "diag/TextHelpers.h"
#include "model/Station.h"
#include "sequences/DeviceNotices.h"

LinkFileRead ReadLinkFile(const std::string& name, LinkFileQuestions& questions)
{
    LinkFileRead read;
    read.file = LoadLinkFile(name);
    read.notices = read.file.notices;
    if (!read.file.ok()) {
        read.outcome = Outcome::FileUnreadable;
        return read;
    }
    // The links behind a gap would be lost without a word: a device written
    // from the file would hold only those before it.
    if (read.file.firstLinkBehindGap != 0 && !questions.UseLinksBeforeGap(read.file)) {
        read.outcome = Outcome::FileUnreadable;
        read.notices.push_back(DeviceNotice(kMessageGapRefused, Notice::Severity::Error,
                                            {fileNameToAnsi(LinkFilePath(name)),
                                             IntToText(static_cast<int32_t>(read.file.links.size())),
                                             IntToText(read.file.firstLinkBehindGap)}));
    }
    return read;
}

void TakeLinksOfFile(Station& station, const LinkFileLoad& file, const std::string& path, const std::string& title)
{
    station.ReplaceLinks(file.links);
    station.LinkTableOrigin = file.origin;
    MarkLinksKept(station, title, path);
}
