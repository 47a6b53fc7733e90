// The word processor as the printouts drive it, on Office Open XML files in
// this process (libzip + pugixml): exactly the members the printouts call,
// with their names, arguments and error numbers. No Qt.
//
//     office::Word word;                         // "word.application"
//     word.Documents().Open(data_dir + "WordPrt1a.dotx");
//     word.ActiveDocument().Bookmarks("Getpic").Select();
//     word.Selection().InlineShapes().AddPicture(data_dir + "hppic41.bmp",
//                                                /*LinkToFile*/ false, /*SaveWithDocument*/ true);
//     word.Visible(false);
//     word.ActiveDocument().Bookmarks("bm1").Select();
//     word.Selection().InsertAfter(company_name);
//     word.ActiveDocument().PrintOut(/*Background*/ false);
//     word.ActiveDocument().Close(/*SaveChanges*/ false);
//     word.Quit();
//
// Every failure is a ui::RtError with the number the word processor gives:
//   429  LibreOffice (which prints the documents) is not installed: Word
//        cannot be created ("ActiveX component can't create object")
//   5174 Open: the file does not exist
//   5792 Open: the file is damaged (not a word-processing document)
//   4248 a document member used with no document open
//   5941 Bookmarks(name): the document has no such bookmark
//   5152 AddPicture: the picture file is missing or not a picture
//   4198 PrintOut: LibreOffice failed or did not answer in time
//   25   PrintOut: the printer did not take the document
//   462  any member after Quit
//
// Inserted text is made fit for the document first: bytes that are not
// UTF-8 are read as the settings file's code page, characters XML forbids
// are dropped. Open never changes the file: the document is a copy in memory. Text goes
// right after the selected bookmark, in the formatting of the text before
// it (or the paragraph's), and every further InsertAfter follows the text
// inserted before. AddPicture embeds the picture (BMP, PNG, JPEG or GIF,
// recognised by content, whatever the file name) at its natural size.
// PrintOut renders a .docx copy through LibreOffice (render.h) and deletes
// it. Close and Quit never save.
//
// For tests: ActiveDocument().saveCopy(path) writes the filled document;
// textAt(bookmark) reads back the text inserted after a bookmark.
#pragma once

#include <memory>
#include <string>

namespace office {

class Word {
public:
    Word();  // throws RtError 429 when LibreOffice is missing
    ~Word();
    Word(const Word&) = delete;
    Word& operator=(const Word&) = delete;

    class DocumentObj;
    class SelectionObj;

    class DocumentsObj {
    public:
        void Open(const std::string& fileName);

    private:
        friend class Word;
        Word* w_ = nullptr;
    };

    class BookmarkObj {
    public:
        void Select();

    private:
        friend class DocumentObj;
        Word* w_ = nullptr;
        std::string name_;
    };

    class DocumentObj {
    public:
        BookmarkObj Bookmarks(const std::string& name);
        void PrintOut(bool Background = true);
        void Close(bool SaveChanges = false);
        // ---- test helpers (not members the printouts call)
        void saveCopy(const std::string& path);
        std::string textAt(const std::string& bookmark);
        int pictureCount();

    private:
        friend class Word;
        Word* w_ = nullptr;
    };

    class InlineShapesObj {
    public:
        void AddPicture(const std::string& FileName, bool LinkToFile = false, bool SaveWithDocument = true);

    private:
        friend class SelectionObj;
        Word* w_ = nullptr;
    };

    class SelectionObj {
    public:
        void InsertAfter(const std::string& text);
        InlineShapesObj InlineShapes();

    private:
        friend class Word;
        Word* w_ = nullptr;
    };

    DocumentsObj& Documents();
    DocumentObj& ActiveDocument();
    SelectionObj& Selection();
    void Visible(bool on);
    bool Visible() const;
    void Quit();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
    DocumentsObj documents_;
    DocumentObj document_;
    SelectionObj selection_;
    void alive() const;
    Impl& doc();  // the open document, else RtError 4248
};

}  // namespace office
