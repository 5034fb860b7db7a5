#include "core/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <variant>

namespace teravo {

namespace {

namespace fs = std::filesystem;

std::error_code LastError() {
  return {errno, std::generic_category()};
}

FileFailure Failure(FileProblem problem) {
  return {problem, {}};
}

fs::path FolderOf(const fs::path& target) {
  const fs::path parent = target.parent_path();
  return parent.empty() ? fs::path(".") : parent;
}

// A name beside `target` that no other file has: ".NAME.XXXXXXXX", hidden from listings.
fs::path TemporaryBeside(const fs::path& target, std::mt19937_64& random) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string name = ".";
  name += target.filename().string();
  name += '.';
  for (int i = 0; i < 8; ++i) name += kDigits[random() % 36];
  return FolderOf(target) / name;
}

std::mt19937_64 Random() {
  std::random_device device;
  return std::mt19937_64((static_cast<std::uint64_t>(device()) << 32) ^ device() ^
                         static_cast<std::uint64_t>(getpid()));
}

// Creates a file or folder of its own beside `target` with the permissions a new one gets
// (the process's umask applies): its path and, for a file, its open descriptor.
struct Created {
  fs::path path;
  int descriptor = -1;
};

std::variant<Created, FileFailure> CreateBeside(const fs::path& target, bool folder) {
  std::mt19937_64 random = Random();
  for (int attempt = 0; attempt < 100; ++attempt) {
    Created created{TemporaryBeside(target, random)};
    if (folder) {
      if (mkdir(created.path.c_str(), 0777) == 0) return created;
    } else {
      created.descriptor =
          open(created.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
      if (created.descriptor >= 0) return created;
    }
    if (errno != EEXIST) return FailureOf(LastError());
  }
  return FailureOf(std::make_error_code(std::errc::file_exists));
}

std::optional<FileFailure> WriteAll(int descriptor, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = write(descriptor, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return FailureOf(LastError());
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return std::nullopt;
}

// Closes a file the writer created, reporting what a delayed write (NFS, quotas) told only then.
std::optional<FileFailure> Close(int descriptor) {
  if (close(descriptor) != 0 && errno != EINTR) return FailureOf(LastError());
  return std::nullopt;
}

// The permissions the replaced file had, for the new one; none for a new target.
std::optional<mode_t> ModeOf(const fs::path& target) {
  struct stat status {};
  if (lstat(target.c_str(), &status) != 0) return std::nullopt;
  return status.st_mode & 07777;
}

// Moves the finished temporary file into place; removes it when that fails.
std::optional<FileFailure> Replace(const fs::path& temporary, const fs::path& target) {
  if (const auto mode = ModeOf(target)) {
    if (chmod(temporary.c_str(), *mode) != 0) {
      const FileFailure failure = FailureOf(LastError());
      unlink(temporary.c_str());
      return failure;
    }
  }
  if (rename(temporary.c_str(), target.c_str()) != 0) {
    const FileFailure failure = FailureOf(LastError());
    unlink(temporary.c_str());
    return failure;
  }
  return std::nullopt;
}

// The folder a new file or folder goes into must exist.
std::optional<FileFailure> CheckFolderOf(const fs::path& target) {
  struct stat status {};
  if (stat(FolderOf(target).c_str(), &status) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? Failure(FileProblem::NoFolder)
                                               : FailureOf(LastError());
  }
  if (!S_ISDIR(status.st_mode)) return Failure(FileProblem::NoFolder);
  return std::nullopt;
}

}  // namespace

FileFailure FailureOf(std::error_code error) {
  if (error.category() != std::generic_category() && error.category() != std::system_category()) {
    return {FileProblem::Other, error};
  }
  switch (error.value()) {
    case ENOSPC:
    case EDQUOT:
      return {FileProblem::DiskFull, error};
    case EACCES:
    case EPERM:
      return {FileProblem::PermissionDenied, error};
    case EISDIR:
      return {FileProblem::IsFolder, error};
    case ENOENT:
    case ENOTDIR:
      return {FileProblem::NoFolder, error};
    case EROFS:
      return {FileProblem::ReadOnlyFileSystem, error};
    case EFBIG:
      return {FileProblem::TooLarge, error};
    case ENAMETOOLONG:
      return {FileProblem::NameTooLong, error};
    case ENOTEMPTY:
    case EEXIST:
      return {FileProblem::FolderNotEmpty, error};
    case ELOOP:
      return {FileProblem::IsLink, error};
    default:
      return {FileProblem::Other, error};
  }
}

std::string FileProblemText(const FileFailure& failure) {
  switch (failure.problem) {
    case FileProblem::NotRegularFile:
      return "это не обычный файл (устройство, канал или сокет)";
    case FileProblem::IsFolder:
      return "это папка";
    case FileProblem::IsLink:
      return "это символическая ссылка";
    case FileProblem::ReadOnly:
      return "файл только для чтения";
    case FileProblem::NotFolder:
      return "это не папка";
    case FileProblem::FolderNotEmpty:
      return "папка не пуста";
    case FileProblem::NoFolder:
      return "нет такой папки";
    case FileProblem::NotFound:
      return "файл не найден";
    case FileProblem::PermissionDenied:
      return "доступ запрещён";
    case FileProblem::DiskFull:
      return "диск заполнен";
    case FileProblem::TooLarge:
      return "файл больше, чем разрешено";
    case FileProblem::ReadOnlyFileSystem:
      return "диск только для чтения";
    case FileProblem::NameTooLong:
      return "слишком длинное имя";
    case FileProblem::WriterFailed:
      return "ошибка записи";
    case FileProblem::Other:
      break;
  }
  return "системная ошибка " + std::to_string(failure.error.value());
}

std::optional<FileFailure> CheckFileToRead(const fs::path& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Failure(FileProblem::NotFound);
    return FailureOf(LastError());
  }
  if (S_ISDIR(status.st_mode)) return Failure(FileProblem::IsFolder);
  if (!S_ISREG(status.st_mode)) return Failure(FileProblem::NotRegularFile);
  if (access(path.c_str(), R_OK) != 0) return FailureOf(LastError());
  return std::nullopt;
}

std::optional<FileFailure> CheckFileTarget(const fs::path& target) {
  struct stat status {};
  if (lstat(target.c_str(), &status) != 0) {
    if (errno != ENOENT) return FailureOf(LastError());
    return CheckFolderOf(target);
  }
  if (S_ISLNK(status.st_mode)) return Failure(FileProblem::IsLink);
  if (S_ISDIR(status.st_mode)) return Failure(FileProblem::IsFolder);
  if (!S_ISREG(status.st_mode)) return Failure(FileProblem::NotRegularFile);
  // Its permission bits decide even for the superuser, whom access() lets write anything.
  if ((status.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0) {
    return Failure(FileProblem::ReadOnly);
  }
  return std::nullopt;
}

std::optional<FileFailure> WriteFileSafely(const fs::path& target, std::string_view content) {
  if (auto problem = CheckFileTarget(target)) return problem;
  auto created = CreateBeside(target, false);
  if (auto* failure = std::get_if<FileFailure>(&created)) return *failure;
  const Created& file = std::get<Created>(created);
  auto problem = WriteAll(file.descriptor, content);
  if (auto closing = Close(file.descriptor); !problem) problem = closing;
  if (problem) {
    unlink(file.path.c_str());
    return problem;
  }
  return Replace(file.path, target);
}

std::optional<FileFailure> WriteFileThrough(const fs::path& target,
                                            const std::function<bool(const fs::path&)>& write) {
  if (auto problem = CheckFileTarget(target)) return problem;
  auto created = CreateBeside(target, false);
  if (auto* failure = std::get_if<FileFailure>(&created)) return *failure;
  const Created& file = std::get<Created>(created);
  auto problem = Close(file.descriptor);
  if (!problem && !write(file.path)) problem = Failure(FileProblem::WriterFailed);
  if (problem) {
    unlink(file.path.c_str());
    return problem;
  }
  return Replace(file.path, target);
}

std::optional<FileFailure> CheckFolderTarget(const fs::path& folder) {
  struct stat status {};
  if (lstat(folder.c_str(), &status) != 0) {
    if (errno != ENOENT) return FailureOf(LastError());
    return CheckFolderOf(folder);
  }
  if (S_ISLNK(status.st_mode)) return Failure(FileProblem::IsLink);
  if (!S_ISDIR(status.st_mode)) return Failure(FileProblem::NotFolder);
  std::error_code error;
  const bool empty = fs::is_empty(folder, error);
  if (error) return FailureOf(error);
  if (!empty) return Failure(FileProblem::FolderNotEmpty);
  return std::nullopt;
}

std::optional<FileFailure> WriteFolderSafely(const fs::path& folder, const FolderFiles& files) {
  // "out/" names the folder "out": the temporary folder goes beside it, not into it.
  const fs::path target = folder.has_filename() ? folder : folder.parent_path();
  if (auto problem = CheckFolderTarget(target)) return problem;
  auto created = CreateBeside(target, true);
  if (auto* failure = std::get_if<FileFailure>(&created)) return *failure;
  const fs::path temporary = std::get<Created>(created).path;
  std::vector<fs::path> written;
  // Removes only what was created here, so a failure leaves the folder as it was.
  const auto abandon = [&](FileFailure failure) {
    for (const fs::path& file : written) unlink(file.c_str());
    rmdir(temporary.c_str());
    return failure;
  };
  for (const auto& [name, content] : files) {
    const fs::path path = temporary / name;
    const int descriptor =
        open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (descriptor < 0) return abandon(FailureOf(LastError()));
    written.push_back(path);
    auto problem = WriteAll(descriptor, content);
    if (auto closing = Close(descriptor); !problem) problem = closing;
    if (problem) return abandon(*problem);
  }
  // An empty folder in the way keeps its permissions and is replaced by the rename.
  if (const auto mode = ModeOf(target)) chmod(temporary.c_str(), *mode);
  if (rename(temporary.c_str(), target.c_str()) != 0) return abandon(FailureOf(LastError()));
  return std::nullopt;
}

}  // namespace teravo
