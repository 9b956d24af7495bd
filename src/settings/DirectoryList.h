// A drive box and a directory list that work as a pair: the list shows the path of its
// directory and the folders below it, and the drive box moves it to another drive.
// Both sit on a dialog; it forwards their notifications and the list's drawing here.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TDriveComboBox;

class TDirectoryListBox {
public:
    // Shows the process's current directory until told otherwise.
    void Attach(HWND list);
    HWND Handle() const noexcept { return w_; }

    // "C:\" for a root, else without a final backslash.
    const std::string& Directory() const noexcept { return directory_; }
    // Enters the folder (it becomes the process's current directory, the way the list
    // proves it can be read); false, and nothing changes, when it cannot be entered.
    // OnChange runs when the directory is a different one afterwards.
    bool SetDirectory(const std::string& path);
    // Moves to the current directory of a drive.
    bool SetDrive(char letter);
    char Drive() const;
    // Reads the folders anew, staying where it is.
    void Update();

    // The folder an item stands for.
    std::string ItemPath(int index) const;
    // The user opened an item (double click, or Enter on the dialog).
    void OpenSelected();
    void Draw(const DRAWITEMSTRUCT& dis) const;

    std::function<void()> OnChange;

private:
    friend class TDriveComboBox;
    struct Entry {
        std::string path;
        std::string name;
        int level;
    };
    void Fill();

    HWND w_ = nullptr;
    TDriveComboBox* driveCombo_ = nullptr;
    std::string directory_;
    std::vector<Entry> entries_;
};

class TDriveComboBox {
public:
    void Attach(HWND combo, TDirectoryListBox* dirList);
    HWND Handle() const noexcept { return w_; }

    char Drive() const;
    // Selects the drive; as a choice by the user, it moves the directory list there.
    void SetDrive(char letter);
    // The user picked an entry.
    void SelectionChanged();
    // Shows the drive of the list without moving anything.
    void Follow();

private:
    int IndexOf(char letter) const;

    HWND w_ = nullptr;
    TDirectoryListBox* dirList_ = nullptr;
};
