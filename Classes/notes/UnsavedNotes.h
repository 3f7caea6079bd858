#pragma once
// Notes being written when the application ends (a window manager's close,
// a logout, SIGTERM). Each open note editor (the note editor, the shell's
// notes panel) registers what it holds; at termination the delegate saves
// every edited note as Done would, before the databases close. A note that
// cannot be stored is appended to a file beside the user database, which the
// next start names to the reader. Main thread only.
#include <functional>
#include <optional>
#include <string>

class UnsavedNotes {
 public:
  // An edited note and how to store it as its editor's Done does.
  struct Note {
    int surah = 0;
    int verse = 0;
    std::string text;
    std::function<bool()> save;
  };
  // What an editor holds now: nothing while it holds no unsaved change.
  using Source = std::function<std::optional<Note>()>;

  // An editor's place in the list, for as long as this lives.
  class Registration {
   public:
    Registration() = default;
    explicit Registration(Source source);
    ~Registration();
    Registration(Registration&& other) noexcept;
    Registration& operator=(Registration&& other) noexcept;
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

   private:
    int id_ = 0;
  };

  // Stores every edited note; one that cannot be stored goes to the kept
  // file. The number of notes kept aside.
  static int saveAll();

  // The file that holds notes kept aside at the last exit, renamed to a
  // dated name so that it is named once ("" when there is none).
  static std::string takeKeptFile();

  // Documents/"unsaved-notes.txt".
  static std::string keptFilePath();
};
