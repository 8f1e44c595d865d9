#pragma once

// Every address the program shows or opens, in one place. They live under the reserved example.org
// domain until the project has addresses of its own.
namespace zorby::contacts {

// The two recipients of an error report, separated by ';'.
inline constexpr const char* kReportAddresses = "kestrin@example.org;zorby-errors@example.org";
inline constexpr const char* kAuthorWebPage = "https://zorby.example.org/";
inline constexpr const char* kAuthorMailLink =
    "mailto:kestrin@example.org;zorby-errors@example.org?subject=Zorby EXE Related";
inline constexpr const char* kAuthorMailText = "E-Mail: kestrin@example.org";
inline constexpr const char* kArtistWebPage = "https://kvarn.example.org/";

} // namespace zorby::contacts
