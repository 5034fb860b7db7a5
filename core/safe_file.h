#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace teravo {

// Every file the program writes goes through here, so that a write either leaves the whole
// new file or leaves everything as it was: the content goes into a temporary file of its own
// beside the target, which replaces the target in one rename once all of it was written. A
// target that is not a regular file (a folder, a link, a device, a pipe) or that may not be
// written is refused before anything is written; a replaced file keeps its permissions; no
// file that the writer did not create is removed.

// Why a file or folder was not written.
enum class FileProblem {
  NotRegularFile,    // a device, a pipe, a socket
  IsFolder,          // a file was to be written where a folder is
  IsLink,            // a symbolic link: replacing it would cut the link
  ReadOnly,          // the target has no write permission
  NotFolder,         // a folder was to be written where something else is
  FolderNotEmpty,    // a folder of files was to replace a folder that holds files
  NoFolder,          // the folder that would hold it does not exist
  NotFound,          // a file to be read does not exist
  PermissionDenied,  // the system refused access
  DiskFull,          // no space left, or the quota is used up
  TooLarge,          // beyond the largest file the system allows this process
  ReadOnlyFileSystem,
  NameTooLong,
  WriterFailed,  // the writer of the content gave up without a system error
  Other,         // any other system error: `error` tells it
};

struct FileFailure {
  FileProblem problem;
  std::error_code error;  // the system's code where there is one
};

// The reason as the user is told it, in Russian ("диск заполнен", "это папка", ...).
std::string FileProblemText(const FileFailure& failure);

// Classifies a system error.
FileFailure FailureOf(std::error_code error);

// Whether `path` is a regular file that can be opened for reading, told before it is opened:
// a pipe or a device would block or never end.
std::optional<FileFailure> CheckFileToRead(const std::filesystem::path& path);

// Whether `target` may be replaced by a new file, before any content is formed: nullopt when
// it is missing (and its folder exists) or is a writable regular file.
std::optional<FileFailure> CheckFileTarget(const std::filesystem::path& target);

// Writes `content` as the file `target`.
std::optional<FileFailure> WriteFileSafely(const std::filesystem::path& target,
                                           std::string_view content);

// For writers that take only a file name: `write` fills the temporary file it is given and
// says whether it succeeded; the target is replaced only then.
std::optional<FileFailure> WriteFileThrough(
    const std::filesystem::path& target,
    const std::function<bool(const std::filesystem::path& temporary)>& write);

// A set of files written as the folder `folder`: they are written into a fresh folder beside
// it, which then takes its place in one rename. `folder` must be missing or empty: a folder
// holding files is refused, whoever wrote them, so that no file of another set stays beside
// the new ones. The names are plain file names.
using FolderFiles = std::vector<std::pair<std::string, std::string>>;  // name, content

// Whether `folder` may be written as a new set, before any content is formed.
std::optional<FileFailure> CheckFolderTarget(const std::filesystem::path& folder);

std::optional<FileFailure> WriteFolderSafely(const std::filesystem::path& folder,
                                             const FolderFiles& files);

}  // namespace teravo
