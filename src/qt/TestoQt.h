#pragma once

#include <QString>
#include <string>

/// \file
/// Text conversions between the add-on (UTF-8 in std::string) and Qt.

/// The Qt Widgets face of the add-on's user-interface port.
namespace qzkiro::qt {

/// The add-on's UTF-8 text as a QString, unchanged.
QString Q(const std::string& testo);

/// A QString as the add-on's UTF-8 text.
std::string U(const QString& testo);

/// Text to show in a label: the add-on ends its lines with CR LF, a label
/// wants LF alone, so every CR is dropped.
QString Mostrato(const std::string& testo);

/// Text of a task dialog's content as rich text: the plain text escaped,
/// its line breaks kept, and each `<Hyperlink Tag='address'>label</Hyperlink>`
/// (the link the e-prescription service's communications carry) turned into
/// an anchor to that address.
QString ContenutoConCollegamenti(const std::string& testo);

/// True when the text holds a link ContenutoConCollegamenti turns into an
/// anchor, so it must be shown as rich text.
bool HaCollegamenti(const std::string& testo);

}  // namespace qzkiro::qt
