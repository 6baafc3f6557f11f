#pragma once

#include <QString>

namespace zv::mci {

// Result codes in winmm's own numbering (MCIERR_BASE = 256), so callers that compare
// codes or show their texts behave as they would against the system's MCI.
enum Error : int {
    NoError = 0,
    InvalidDeviceId = 257,
    UnrecognizedKeyword = 259,
    UnrecognizedCommand = 261,
    Hardware = 262,
    InvalidDeviceName = 263,
    OutOfMemory = 264,
    DeviceOpen = 265,
    CannotLoadDriver = 266,
    MissingCommandString = 267,
    ParamOverflow = 268,
    MissingStringArgument = 269,
    BadInteger = 270,
    DriverInternal = 272,
    MissingParameter = 273,
    UnsupportedFunction = 274,
    FileNotFound = 275,
    DeviceNotReady = 276,
    Internal = 277,
    OutOfRange = 282,
    FlagsNotCompatible = 284,
    DuplicateAlias = 289,
    BadConstant = 290,
    MissingDeviceName = 292,
    BadTimeFormat = 293,
    NoClosingQuote = 294,
    InvalidFile = 296,
    NonapplicableFunction = 302,
    FilenameRequired = 304,
    ExtraCharacters = 305,
    DeviceNotInstalled = 306,
    NoWindow = 346,
    CreateWindow = 347,
    FileRead = 348,
};

// The English text the system gives for a code; an unknown code gets a generic text.
QString errorText(int code);

} // namespace zv::mci
