// English texts. Sorted by id; every id here must also be in the German table.
// Where a caller adds something to a text (": " and a value, " ... " and a
// result), the text leaves that out; see Languages/README.md.

#include "TextTable.h"

namespace lumaprog::language {
namespace {

constexpr TextEntry Texts[] = {
    // main window caption, menu commands and shut-down question
    {0, "Lumaprog - Zefa Development Board Programmer"},
    {1, "Exit"},
    {2, "Options"},
    {3, "Do you really want to close Lumaprog?"},

    // open and save dialogs of the image files
    {12, "Open flash file"},
    {13, "Open EEPROM file"},
    {14, "Intel HEX files (*.hex)|*.hex|All files (*)|*"},
    {15, "EEPROM files (*.eep)|*.eep|Intel HEX files (*.hex)|*.hex|All files (*)|*"},

    // reading an Intel HEX file
    {16, "The HEX file holds data beyond the highest supported address (0x40000F)."},

    // image file messages
    {17, "Error"},
    {18, "The EEPROM file does not fit into the EEPROM of the selected microcontroller."},
    {19, "The flash file does not fit into the flash memory of the selected microcontroller."},

    // saving a memory read from the board
    {32, "Save flash memory as"},
    {33, "Save EEPROM as"},
    {34, "Reading the flash memory failed. Nothing was saved."},
    {35, "Reading the EEPROM failed. Nothing was saved."},
    {36, "The file could not be saved."},

    // hints of the programming entry in the navigation list
    {38, "No flash file and no EEPROM file loaded."},
    {39, "The flash file does not fit the selected microcontroller."},
    {40, "The EEPROM file does not fit the selected microcontroller."},

    // hint of the flash and EEPROM entries in the navigation list
    {68, "Please select a microcontroller first."},

    // reloading a changed image file
    {71, "The flash file has been changed on disk. Do you want to load it again?"},
    {72, "The EEPROM file has been changed on disk. Do you want to load it again?"},

    // SPIEN protection message of the fuse edits
    {73, "The SPIEN fuse bit must stay programmed, otherwise the microcontroller can no longer be "
         "programmed through the ISP interface."},
    {74, "Lumaprog has therefore set it to programmed. Changing it can be allowed in the options."},
    {75, "SPIEN protection"},

    // saving the log; 78 follows a file name directly
    {76, "Save log"},
    {77, "Rich text files (*.rtf)|*.rtf|All files (*)|*"},
    {78, " already exists. Do you want to replace it?"},

    // target system page
    {79, "Choose the target system:"},

    // navigation list
    {200, "Development Board"},
    {201, "Flash"},
    {202, "EEPROM"},
    {203, "Programming"},
    {204, "-"},
    {205, "Target System"},
    {206, "Microcontroller Module"},

    // development board page
    {400, "Microcontroller"},
    {401, "Signature:"},
    {402, "Flash memory:"},
    {403, "EEPROM memory:"},
    {404, "Fuse bytes"},
    {405, "Defaults"},
    {406, "Read"},
    {407, "Lock byte"},
    {408, "Read"},
    {409, "SPI clock"},

    // microcontroller module page
    {420, "Microcontroller module"},

    // EEPROM page
    {500, "EEPROM"},
    {501, "Open"},
    {502, "Unload"},

    // flash page
    {600, "Flash"},
    {601, "Open"},
    {602, "Unload"},

    // board programming page (710 to 719 and 742 also on the module programming page)
    {700, "Automatic programming"},
    {701, "Check signature"},
    {702, "Erase chip"},
    {703, "Program flash"},
    {704, "Verify flash"},
    {705, "Program EEPROM"},
    {706, "Verify EEPROM"},
    {707, "Program fuse bytes"},
    {708, "Program lock byte"},
    {709, "Start"},
    {710, "Programming"},
    {711, "Flash"},
    {712, "Program"},
    {713, "Verify after programming"},
    {714, "Verify"},
    {715, "Read"},
    {716, "EEPROM"},
    {717, "Program"},
    {718, "Verify after programming"},
    {719, "Verify"},
    {720, "Read"},
    {721, "Fuse bytes"},
    {722, "Write"},
    {723, "Read"},
    {724, "Fuse bytes not read from the device (defaults shown)"},
    {725, "Fuse bytes read from the device"},
    {726, "Lock byte"},
    {727, "Write"},
    {728, "Read"},
    {729, "General"},
    {730, "Erase chip"},
    {731, "Erase chip before programming"},
    {732, "Check signature"},
    {733, "Reset target"},

    // module programming page
    {740, "Erase"},
    {741, "Erase"},
    {742, "Start the application afterwards"},

    // options dialog
    {1000, "Options"},
    {1001, "General"},
    {1002, "Language"},
    {1003, "Cancel"},
    {1004, "OK"},
    {1005, "Ask before closing the program"},
    {1007, "User interface language"},
    {1013, "Allow changing the SPIEN fuse bit"},
    {1014, "Ask before reloading a changed file"},
    {1016, "Number of recent files:"},

    // about box
    {2001, "About ..."},
    {2002, "Memory:"},
    {2003, "Total:"},
    {2004, "Free:"},
    {2005, "In use:"},
    {2006, "OK"},

    // programmer link log
    {3001, "Connection to the development board opened"},
    {3002, "The connection to the development board could not be opened! Please check the USB cable "
           "and the selected port."},
    {3003, "Connection to the development board closed"},

    // programming mode, chip erase, reset and signature log
    {3010, "Entering programming mode"},
    {3011, "Leaving programming mode"},
    {3012, "Erasing chip"},
    {3013, "SPI clock:"},
    {3020, "Programming mode could not be entered. Please check:"},
    {3021, "- Is the microcontroller inserted correctly and supplied with power?"},
    {3022, "- Is the SPI clock at most a quarter of the microcontroller's clock?"},
    {3023, "- Is the SPIEN fuse programmed and the clock source set correctly in the fuses?"},
    {3030, "Resetting target"},
    {3031, "Resetting the target failed!"},
    {3040, "Signature OK"},
    {3041, "The signature does not match the selected microcontroller!"},
    {3042, "Signature read"},
    {3043, "Expected signature"},
    {3044, "Reading the signature failed!"},

    // flash and EEPROM page transfer log
    {3050, "Verifying flash"},
    {3051, "Programming flash"},
    {3052, "Reading flash"},
    {3053, "Verifying EEPROM"},
    {3054, "Reading EEPROM"},
    {3055, "Programming EEPROM"},
    {3058, "Reading fuse bytes"},
    {3061, "Reading lock byte"},
    {3070, "EEPROM programmed successfully"},
    {3071, "Programming the EEPROM failed!"},
    {3072, "Verification successful"},
    {3073, "Verification failed: the memory differs from the file!"},
    {3074, "Memory read successfully"},
    {3075, "Reading the memory failed!"},
    {3076, "Flash programmed successfully"},
    {3077, "Error: the development board did not carry out the command!"},
    {3078, "Erasing the chip failed!"},

    // target voltage log
    {3091, "The target voltage could not be switched on! Please check the target for a short circuit."},

    // fuse and lock byte log; 3100 comes before " Fusebyte Low: 0x..", the others before " (...)"
    {3100, "Read"},
    {3101, "Low fuse byte not written correctly"},
    {3102, "Low fuse byte written"},
    {3103, "High fuse byte not written correctly"},
    {3104, "High fuse byte written"},
    {3105, "Extended fuse byte not written correctly"},
    {3106, "Extended fuse byte written"},
    {3107, "Lock byte not written correctly"},
    {3108, "Lock byte written"},

    // device information and board check log
    {3200, "Unknown format of the device information!"},
    {3201, "CRC error in the device information!"},
    {3202, "No answer from the development board!"},
    {3203, "Please check the USB connection and the selected port."},
    {3204, "The command could not be sent to the development board!"},
    {3205, "The protocol revision of the development board is not supported!"},
    {3206, "The connected device is not a Zefa Development Board!"},

    // board settings commands log
    {3230, "Writing current limits"},
    {3231, "Writing oscillator setting"},

    // target voltage choice (4002 and 4003 are also logged when applied)
    {4000, "Target voltage"},
    {4001, "Leave target voltage on"},
    {4002, "Switch target voltage off"},
    {4003, "Cycle target voltage (off-on)"},

    // fuse warning dialog
    {5000, "Warning"},
    {5001, "JTAGEN fuse not programmed!"},
    {5002, "SPIEN fuse not programmed!"},
    {5003, "SPIEN and JTAGEN fuses not programmed!"},
    {5004, "Programming through ISP and JTAG will no longer be possible!"},
    {5005, "Programming through ISP will no longer be possible!"},
    {5006, "Programming and debugging through JTAG will no longer be possible!"},
    {5009, "Yes"},
    {5011, "Abort"},
    {5012, "Only a high-voltage programmer can then restore the fuse bytes."},
    {5014, "Do you really want to write the fuse bytes?"},

    // board settings dialog; 6002 and 6003 also label the main window's board line
    {6000, "Device Settings"},
    {6001, "Development System connected:"},
    {6002, "Software revision:"},
    {6003, "Serial number:"},
    {6004, "Warning current"},
    {6005, "Cut-off current"},
    {6006, "Oscillator"},
    {6007, "Connect"},
    {6008, "Read again"},
    {6009, "Close"},
    {6010, "Save"},
    {6011, "No development board found"},

    // menu bar
    {6500, "Exit"},
    {6501, "Options"},
    {6503, "Board Settings"},
    {6504, "About"},

    // fuse and lock bit editor
    {6600, "Cancel"},
    {6601, "OK"},

    // last image files missing at start-up
    {7000, "The last used flash file could not be found."},
    {7001, "The last used EEPROM file could not be found."},
    {7002, "The last used flash and EEPROM files could not be found."},

    // bootloader connect dialog
    {7150, "Connecting to bootloader ..."},
    {7151, "Please reset the microcontroller module to activate the bootloader!"},
    {7152, "Abort"},

    // log buttons
    {7180, "Clear log"},
    {7181, "Save log"},

    // module operations log; step texts come before " ... " and a result
    {7200, "Microcontroller module"},
    {7210, "Connecting to the bootloader"},
    {7211, "Programming flash"},
    {7212, "Verifying flash"},
    {7213, "Erasing flash"},
    {7214, "Programming EEPROM"},
    {7215, "Verifying EEPROM"},
    {7216, "Erasing EEPROM"},
    {7217, "Starting the application"},
    {7218, "The application was not started"},
    {7219, "The module did not confirm the start command."},
    {7250, "Operation completed successfully."},
    {7251, "Operation failed!"},
    {7260, "OK"},
    {7261, "failed"},
    {7270, "Note:"},
    {7271, "Please check that the module is connected and the right serial port is selected."},
    {7272, "Reset the module when asked, so that its bootloader answers."},

    // the program's own checks: an error without a message, a file that is no regular
    // file, pages the bootloader (7302, 7303, after the module's name and ": ") or the
    // board (7304 to 7307) cannot carry; %1 and %2 are numbers the caller fills in
    {7300, "Unknown error"},
    {7301, "Not a regular file."},
    {7302, "flash pages of %1 bytes cannot be transferred (1 to %2 bytes, an even number)"},
    {7303, "EEPROM pages of %1 bytes cannot be transferred (1 to %2 bytes)"},
    {7304, "Definition refused: page size %1 is out of range"},
    {7305, "Definition refused: flash page size %1 is odd"},
    {7306, "Definition refused: EEPROM page size %1 exceeds %2"},
    {7307, "Definition refused: memory size %1 is out of range"},

    // files that are not what they claim: a flash or EEPROM file without a single record,
    // a settings file too large to be one (%1 the bound in MiB), and a running program
    // that holds the single-instance claim but does not answer
    {7308, "This is not an Intel HEX file: none of its lines is a record (a line beginning with \":\")."},
    {7309, "The file is larger than %1 MiB, too large for a settings file."},
    {7310, "Lumaprog is already running, but it does not answer. Close or end it, then start Lumaprog again."},
};

static_assert(idsStrictlyAscending(Texts), "the English texts must be sorted by id, each id once");

}  // namespace

const LanguageTable Language{"EN", "English", Texts};

}  // namespace lumaprog::language
