// Installs the test printer in the Wine prefix it runs in, as the default printer: Wine's PostScript
// driver with the PPD given as the first argument, printing into the file given as the second (paths
// Unix or Windows). Safe to run again. Exits 0 when a context of the printer answers the PPD's page
// (600 dpi, 6600 printer pixels high).
#include <windows.h>

#include <winspool.h>

#include <cstdio>
#include <string>

namespace {
const char kPrinter[] = "Tessolin Test Printer";

std::string WindowsPath(const char* path) {
    std::string result = path;
    if (!result.empty() && result[0] == '/') result = "Z:" + result; // Wine's drive for the Unix root
    for (char& c : result)
        if (c == '/') c = '\\';
    return result;
}

bool CopyPpdToDriverDirectory(const std::string& ppd, std::string& installed) {
    char directory[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, (LPBYTE)directory, sizeof directory, &needed))
        return false;
    installed = std::string(directory) + "\\tessolin-test.ppd";
    return CopyFileA(ppd.c_str(), installed.c_str(), FALSE) != 0;
}

bool AddDriverAndPrinter(const std::string& ppd, const std::string& output) {
    DRIVER_INFO_3A driver = {};
    driver.cVersion = 3;
    driver.pName = (LPSTR)kPrinter;
    driver.pDriverPath = driver.pConfigFile = (LPSTR) "wineps.drv";
    driver.pDataFile = (LPSTR)ppd.c_str();
    if (!AddPrinterDriverA(nullptr, 3, (LPBYTE)&driver)) return false;
    PRINTER_INFO_2A printer = {};
    printer.pPrinterName = printer.pDriverName = (LPSTR)kPrinter;
    printer.pPortName = (LPSTR)output.c_str();
    printer.pPrintProcessor = (LPSTR) "WinPrint";
    printer.pDatatype = (LPSTR) "RAW";
    printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE handle = nullptr; // an existing printer is kept
    if (!OpenPrinterA((LPSTR)kPrinter, &handle, nullptr) &&
        (handle = AddPrinterA(nullptr, 2, (LPBYTE)&printer)) == nullptr)
        return false;
    ClosePrinter(handle);
    return SetDefaultPrinterA(kPrinter) != 0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: add_test_printer PPD OUTPUT\n");
        return 2;
    }
    std::string installed;
    if (!CopyPpdToDriverDirectory(WindowsPath(argv[1]), installed) ||
        !AddDriverAndPrinter(installed, WindowsPath(argv[2]))) {
        std::fprintf(stderr, "add_test_printer: could not install the printer (error %lu)\n", GetLastError());
        return 1;
    }
    HDC dc = CreateDCA(nullptr, kPrinter, nullptr, nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY), height = GetDeviceCaps(dc, VERTRES); // 0 without a context
    DeleteDC(dc);
    if (dpi != 600 || height != 6600) {
        std::fprintf(stderr, "add_test_printer: the printer answers %d dpi and %d pixels\n", dpi, height);
        return 1;
    }
    return 0;
}
