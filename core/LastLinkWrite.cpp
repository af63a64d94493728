#include "core/LastLinkWrite.h"

LastLinkWrite RecordLinkWrite(const CheckedLinkWriteResult& result, const LinkWriteChecks& checks)
{
    LastLinkWrite write;
    write.when = QDateTime::currentDateTime();
    write.links = result.links;
    write.active = result.active;
    write.inactive = result.inactive;
    write.answered = result.ok();
    write.readBack = checks.verify;
    write.verified = result.verified;
    write.snapshotFile = result.snapshotFile;
    return write;
}
