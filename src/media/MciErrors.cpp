#include "media/MciErrors.h"

namespace zv::mci {

QString errorText(int code)
{
    switch (code) {
    case NoError:
        return QStringLiteral("The specified command was carried out.");
    case InvalidDeviceId:
        return QStringLiteral("Invalid MCI device ID. Use the ID returned when opening the MCI device.");
    case UnrecognizedKeyword:
        return QStringLiteral("The driver cannot recognize the specified command parameter.");
    case UnrecognizedCommand:
        return QStringLiteral("The driver cannot recognize the specified command.");
    case Hardware:
        return QStringLiteral("There is a problem with your media device. Make sure it is working "
                              "correctly or contact the device manufacturer.");
    case InvalidDeviceName:
        return QStringLiteral("The specified device is not open or is not recognized by MCI.");
    case OutOfMemory:
        return QStringLiteral("Not enough memory available for this task.");
    case DeviceOpen:
        return QStringLiteral("The device name is already being used as an alias by this "
                              "application. Use a unique alias.");
    case CannotLoadDriver:
        return QStringLiteral("There is an undetectable problem in loading the specified device driver.");
    case MissingCommandString:
        return QStringLiteral("No command was specified.");
    case ParamOverflow:
        return QStringLiteral("The output string was too large to fit in the return buffer. "
                              "Increase the size of the buffer.");
    case MissingStringArgument:
        return QStringLiteral("The specified command requires a character-string parameter. "
                              "Please provide one.");
    case BadInteger:
        return QStringLiteral("The specified integer is invalid for this command.");
    case DriverInternal:
        return QStringLiteral("The device driver has an internal problem.");
    case MissingParameter:
        return QStringLiteral("The specified command requires a parameter. Please supply one.");
    case UnsupportedFunction:
        return QStringLiteral("The MCI device you are using does not support the specified command.");
    case FileNotFound:
        return QStringLiteral("Cannot find the specified file. Make sure the path and filename "
                              "are correct.");
    case DeviceNotReady:
        return QStringLiteral("The device driver is not ready.");
    case Internal:
        return QStringLiteral("A problem occurred in initializing MCI. Try restarting Windows.");
    case OutOfRange:
        return QStringLiteral("The specified parameter is out of range for the specified command.");
    case FlagsNotCompatible:
        return QStringLiteral("The specified parameters cannot be used together.");
    case DuplicateAlias:
        return QStringLiteral("The specified alias is already being used in this application. "
                              "Use a unique alias.");
    case BadConstant:
        return QStringLiteral("The specified parameter is invalid for this command.");
    case MissingDeviceName:
        return QStringLiteral("The specified command requires an alias, file, driver, or device "
                              "name. Please supply one.");
    case BadTimeFormat:
        return QStringLiteral("The specified value for the time format is invalid.");
    case NoClosingQuote:
        return QStringLiteral("A closing double-quotation mark is missing from the parameter value. "
                              "Please supply one.");
    case InvalidFile:
        return QStringLiteral("The specified file cannot be played on the specified MCI device. "
                              "The file may be corrupt, or not in the correct format.");
    case NonapplicableFunction:
        return QStringLiteral("The specified MCI command sequence cannot be performed in the given "
                              "order. Correct the command sequence; then, try again.");
    case FilenameRequired:
        return QStringLiteral("A valid filename must be specified.");
    case ExtraCharacters:
        return QStringLiteral("Cannot specify extra characters after a string enclosed in quotation "
                              "marks.");
    case DeviceNotInstalled:
        return QStringLiteral("The specified device is not installed on the system.");
    case NoWindow:
        return QStringLiteral("There is no display window.");
    case CreateWindow:
        return QStringLiteral("Could not create or use window.");
    case FileRead:
        return QStringLiteral("Cannot read the specified file. Make sure the file is still present, "
                              "or check your disk or network connection.");
    default:
        return QStringLiteral("Unknown problem while loading the specified device driver.");
    }
}

} // namespace zv::mci
