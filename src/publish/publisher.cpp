#include "publish/publisher.h"

#include "publish/ip_document.h"

namespace somnar {
namespace {

// The program's folder where the user may write there (a copy in a home folder),
// otherwise the user's data folder for this program (an installed copy).
std::string documentFolder(const PublisherSeams& services) {
    std::string programFolder = services.program.programFolder();
    if (services.files.folderWritable(programFolder)) {
        return programFolder;
    }
    return services.files.dataFolder();
}

}  // namespace

std::string Publisher::documentPath(const std::string& name) {
    std::string folder = writtenFolder_.empty() ? documentFolder(seams_) : writtenFolder_;
    if (folder.empty()) {
        return {};
    }
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder + name;
}

std::optional<std::string> Publisher::writeDocument(const std::string& address) {
    const Clock& clock = seams_.clock;
    const std::string document = ipDocument(address, clock.generalDateTimeText(clock.now()));
    writtenFolder_.clear();  // the folder is looked for afresh at each write
    const std::string path = documentPath("ip.html");
    if (!path.empty() && seams_.files.writeSingleByteText(path, document)) {
        writtenFolder_ = path.substr(0, path.rfind('/') + 1);
        return std::nullopt;
    }
    return "Die Datei ip.html konnte nicht geschrieben werden" +
           (path.empty() ? std::string(".") : " (" + path + ").") +
           " Die IP-Adresse wird deshalb nicht per FTP übertragen.";
}

std::string uploadName(const std::string& remoteName) {
    return remoteName + ".tmp";
}

void Publisher::upload(const FtpTarget& target, const UploadProgress& progress) {
    FtpClient& ftp = seams_.ftp;
    auto fail = [&](const char* step, const FtpResult& result, bool connected) {
        progress.failed(step, result);
        if (connected) {
            ftp.disconnect();
        }
    };
    if (const FtpResult opened = ftp.open("VidOru FTP"); !opened.ok) {
        fail("Internet Conection Error", opened, false);
        return;
    }
    progress.reached("Internet Open...");
    if (const FtpResult connected = ftp.connect(target.login); !connected.ok) {
        fail("Server Conection Error", connected, false);
        return;
    }
    progress.reached("Connected to Server...");
    if (const FtpResult changed = ftp.changeDirectory(target.folder); !changed.ok) {
        fail("Initial Directory Error", changed, true);
        return;
    }
    progress.reached("Directory Ready...");
    if (const FtpResult sent = sendFile(target, progress); !sent.ok) {
        fail("File Transfer Error", sent, true);
        return;
    }
    progress.reached("Sending File...");
    ftp.disconnect();
    progress.reached("Disconnected...");
}

FtpResult Publisher::sendFile(const FtpTarget& target, const UploadProgress& progress) {
    FtpClient& ftp = seams_.ftp;
    const std::string temporary = uploadName(target.remoteName);
    FtpResult result = ftp.putFile(target.localPath, temporary);
    if (result.ok) {
        result = ftp.rename(temporary, target.remoteName);
        if (result.ok) {
            return result;
        }
        // Below 400 the connection broke, and a second transfer would not get through.
        if (result.code >= 400) {
            progress.noted("Der Server benennt " + temporary + " nicht in " + target.remoteName +
                           " um (" + result.reply + "); " + target.remoteName +
                           " wird direkt überschrieben.");
            result = ftp.putFile(target.localPath, target.remoteName);
        }
    }
    static_cast<void>(ftp.remove(temporary));  // best effort: the failure above is the news
    return result;
}

}  // namespace somnar
