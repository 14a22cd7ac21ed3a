// Puts a package's files into the install folder as one change. Every file
// is first copied to a fresh name beside its target; only when all of them
// are there are they swapped in, and a swap that fails (a library the running
// IDE holds) puts back the files swapped before it. So the folder ends with
// the whole new package or exactly as it was. Nothing is written through a
// junction or a symbolic link, from the install folder down to the target
// file, and no package entry reaches outside its folder or names a device.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Not in every SDK's headers; the code the system gives a path that meets a
// reparse point where none may be.
#ifndef ERROR_REPARSE_POINT_ENCOUNTERED
#define ERROR_REPARSE_POINT_ENCOUNTERED 4395L
#endif

// Why one package entry could not be put in place.
struct InstallFailure {
  std::wstring file;    // the entry as the setup file lists it
  DWORD error = 0;      // a system error code, for the trace
  std::wstring reason;  // for the user: the system's text, or why the entry was refused
};

// "System error <code>: <text>" on one line, as the trace shows a failure.
std::wstring describeSystemError(DWORD code);
// The system's text for an error code on one line, without the code; a
// plain "System error <code>" when the system has no text for it.
std::wstring systemErrorText(DWORD code);

// The attributes of a path as GetFileAttributesW reports them. A test can
// pass its own to play a link where the file system cannot make one.
using FileAttributesProbe = std::function<DWORD(const std::wstring& path)>;

class TPackageInstall {
 public:
  // sourceFolder and destinationFolder end with a path delimiter.
  TPackageInstall(std::wstring sourceFolder, std::wstring destinationFolder,
                  FileAttributesProbe attributesOf = {});
  // Whatever was not committed is taken away again.
  ~TPackageInstall();
  TPackageInstall(const TPackageInstall&) = delete;
  TPackageInstall& operator=(const TPackageInstall&) = delete;

  // Creates the one folder destination + subfolder; true when it was made
  // now. A folder that is there, cannot be made, or would be made inside a
  // link gives false; the copies into it then fail on their own.
  bool makeSubfolder(const std::wstring& subfolder);

  // Copies source + file to a fresh name beside destination + subfolder +
  // file. False, with failure filled, when the entry is refused or the copy
  // fails; nothing of it is left behind then.
  bool stage(const std::wstring& subfolder, const std::wstring& file, InstallFailure& failure);

  struct CommitResult {
    bool succeeded = true;
    InstallFailure failure;                 // the swap that failed
    std::vector<std::wstring> restored;     // entries put back as they were
    std::vector<std::wstring> notRestored;  // entries whose old file stays under its backup name
  };
  // Swaps every staged file in, in the order staged. Call only when every
  // stage succeeded; afterwards there is nothing left to take away.
  CommitResult commit();

  // Removes the staged copies and the folders this install made.
  void abandon();

 private:
  struct Staged {
    std::wstring file;
    std::wstring target;
    std::wstring temp;
  };
  struct Swapped {
    std::wstring file;
    std::wstring target;
    std::wstring backup;  // empty: there was no file at the target before
  };

  DWORD attributes(const std::wstring& path) const;
  bool isLink(const std::wstring& path) const;
  // The first existing folder or file from the destination down to target
  // (the target itself included) that is a link; empty when there is none.
  std::wstring firstLinkOnTheWay(const std::wstring& relativeTarget) const;
  // Puts one target back as it was before this install; false when it could not.
  static bool restore(const Swapped& swapped);

  std::wstring fSourceFolder;
  std::wstring fDestinationFolder;
  FileAttributesProbe fAttributesOf;
  std::vector<Staged> fStaged;
  std::vector<std::wstring> fCreatedFolders;
};
