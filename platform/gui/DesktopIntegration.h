#pragma once
// The file association, as the desktop keeps it for one user: a shared-mime-info package that
// names the file type, and a desktop entry that opens such files with the program.
#include "System.h"

// Makes files ending in extension (".qel") a type of their own, described by description
// (program text), opened by exePath (the file system's bytes) with the file as its one
// argument. className names the type: "QELExt" gives the type application/x-qelext and the
// files mime/packages/qelext.xml and applications/qelext.desktop under $XDG_DATA_HOME.
// A file is written only when its content differs, and only then are the desktop's databases
// refreshed, by their update tools when installed. Every failure is silent: the program runs
// the same without the association.
// iconSvg, when given, is the files' picture (an SVG document): it goes to
// icons/hicolor/scalable/mimetypes/application-x-qelext.svg, the name the desktop looks up
// for the type.
void RegisterFileAssociation(const AnsiString& extension, const AnsiString& className,
                             const AnsiString& description, const AnsiString& exePath,
                             const AnsiString& iconSvg = AnsiString());
