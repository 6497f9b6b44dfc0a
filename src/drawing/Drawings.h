#pragma once
// The documents of the editor as the plug-in uses them: finding an open drawing, opening and
// closing drawings, and the current drawing's file name.

#include <string>

#include "host/Host.h"

namespace velmarin {

class Drawings {
  public:
    // The open document whose file name is `path`, ignoring letter case only; null when none.
    host::Document* FindOpenDocument(const std::string& path);
    // Opens `path`, or tells the user it is open already and returns that document. The result is
    // the document active after the request, which after a failed open is some other drawing;
    // `opened`, when given, tells whether the drawing is open now (the host opened it, or it was
    // open already).
    host::Document* OpenDrawing(const std::string& path, bool* opened = nullptr);
    // Opens `path` only to read it: no print information is stamped into it on load. Null when
    // the host could not open it. When the host answers by making a document the user already has
    // open current (the same file under another spelling), that document is the drawing and
    // `openedHere` is false.
    host::Document* OpenForReading(const std::string& path, bool& openedHere);
    // True while OpenForReading's request is with the host.
    bool openingForReading() const { return openingForReading_; }
    // True when the host closed the document.
    bool CloseDrawing(host::Document* document);
    // The current document's file name, "" without one.
    std::string GetCurrentFileName();

  private:
    bool openingForReading_ = false;
};

}  // namespace velmarin
