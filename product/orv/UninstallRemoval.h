// Uninstall.log, and removing one recorded file or one empty folder without following links.
#pragma once

#include "common/Owners.h"
#include "common/WideApi.h"
#include "common/TextLogFile.h"

#include <string>
#include <vector>

namespace orv::uninstall {

// Every action of an uninstall and its result, one line each, written as it happens so a
// run that stops half-way still says how far it came.
class TUninstallLog {
public:
    explicit TUninstallLog(const std::string& path);  // created anew
    void Add(const std::string& line);
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    TTextLogFile file_;
};

// Something the uninstall meant to remove and left, and why.
struct TLeftItem {
    std::string Path;
    std::string Reason;
};

// Removes files and folders below the given folders; a link met on the way down from one
// of them is never followed, and a link in a recorded place is left as it is.
class TRemover {
public:
    // How a path's attributes are read. Wine cannot make folder links, so the tests hand
    // in a query that reports one where a plain folder stands.
    using AttributeQuery = DWORD (*)(const std::string&);

    // Reads where the anchors really are, before anything is removed.
    TRemover(TUninstallLog& log, std::vector<std::string> anchors, AttributeQuery attributes = GetFileAttributesU);

    // Tries a few times over about a second (or waitMs) before the file is left.
    void RemoveFile(const std::string& path, unsigned waitMs = 1000);
    // Removes the folder when it is empty. A folder that holds anything else is kept; it
    // counts as left only when reportKept is set.
    void RemoveFolder(const std::string& path, bool reportKept);
    // A registry key or anything else the caller could not remove.
    void Leave(const std::string& what, const std::string& reason);

    const std::vector<TLeftItem>& Left() const { return left_; }

private:
    // What deleting through a handle came to. The last three are found on the handle after
    // the checks by path said otherwise: the entry was swapped since.
    enum class TDeletion { Done, Failed, OutsideAnchors, Link, OtherKind };

    bool LinkOnTheWay(const std::string& path) const;
    TDeletion DeleteThroughHandle(const std::string& path, bool folder, DWORD& error) const;
    static const char* KeptReason(TDeletion deletion, bool folder);

    TUninstallLog& log_;
    std::vector<std::string> anchors_;
    std::vector<std::string> places_;  // each anchor's real place, "" where there is none
    AttributeQuery attributes_;
    std::vector<TLeftItem> left_;
};

// A system error as the end message and Uninstall.log put it ("in use", "access denied").
std::string ErrorReason(unsigned long error);

}  // namespace orv::uninstall
