// Opening a generated 100 MB data file with each document class, against the bound of reading the
// same file with the C runtime's text-mode fread into one buffer; with each open's peak memory, and
// what the document holds after 100,000 edits scattered over the text (with their undo records).
// Each class is measured in a child process of its own, so the peaks do not mix.
// --utf8 writes and opens the same text converted to UTF-8 (read back as GBK through the encoding
// detection), for the comparison with the GBK file.
// Usage: bench_documents [--megabytes=N] [--repeats=N] [--utf8]
#include <windows.h>

#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "documents/BlackEditDoc.h"
#include "documents/DataEditDocs.h"
#include "framework/win/WinApp.h"
#include "undo/UndoInfo.h"

namespace {
CWinApp theApp("bench_documents");

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Data-file lines with CR LF ends, a remark now and then, a GBK chapter heading every few thousand.
std::string DataFile(long long bytes) {
    static const char* const lines[] = {
        "   12   0.500   1.250e+03   7\r\n",
        "\t4.0\t-2.5\t0.0 ; remark\r\n",
        "  NPOIN  128  3.75\r\n",
        "  1  2  3  4  5  6  7  8\r\n",
        "END\r\n",
    };
    std::string s;
    s.reserve((size_t)bytes + 64);
    for (unsigned n = 0; (long long)s.size() < bytes; ++n)
        s += n % 4999 == 0 ? "\xB5\xDA\xD2\xBB\xD5\xC2 CHAPTER\r\n" : lines[(n * 7) % 5];
    return s;
}

std::string FilePath(int megabytes, bool utf8) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "tessolin-open-bench-" + std::to_string(megabytes) +
           (utf8 ? "mb-utf8" : "mb") + ".dat";
}

// The GBK text in UTF-8.
std::string ToUtf8(const std::string& gbk) {
    int n = ::MultiByteToWideChar(936, 0, gbk.data(), (int)gbk.size(), nullptr, 0);
    std::wstring wide((size_t)n, L'\0');
    ::MultiByteToWideChar(936, 0, gbk.data(), (int)gbk.size(), &wide[0], n);
    int m = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string utf8((size_t)m, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, &utf8[0], m, nullptr, nullptr);
    return utf8;
}

bool EnsureFile(const std::string& path, int megabytes, bool utf8) {
    long long bytes = (long long)megabytes << 20;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
        ((long long)data.nFileSizeHigh << 32 | data.nFileSizeLow) >= bytes)
        return true;
    std::string text = utf8 ? ToUtf8(DataFile(bytes)) : DataFile(bytes);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return (double)counters.PeakPagefileUsage / (1 << 20);
}

double PrivateMegabytes() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return (double)counters.PagefileUsage / (1 << 20);
}

// The bound: text-mode fread of the whole file into one buffer of its size.
double FreadSeconds(const std::string& path, long& textBytes) {
    FILE* f = std::fopen(path.c_str(), "rt");
    if (f == nullptr) return -1;
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    char* buffer = static_cast<char*>(std::malloc((size_t)size + 1));
    double start = Now();
    textBytes = (long)std::fread(buffer, 1, (size_t)size, f);
    double seconds = Now() - start;
    std::free(buffer);
    std::fclose(f);
    return seconds;
}

// Edits front to back, so the gap moves over the text once: a typed byte, a line feed, a deleted
// byte and a two-byte replacement in turn; through the document's recorded road, or unrecorded as
// the undo manager replays them.
void ScatteredEdits(CEditDocument& doc, int edits, bool recorded) {
    static const struct {
        int kind, removed;
        const char* inserted;
    } kEdits[] = {
        {UNDO_INSERT, 0, "x"}, {UNDO_INSERT, 0, "\n"}, {UNDO_DELETE, 1, ""}, {UNDO_REPLACE, 1, "yz"}};
    long step = doc.GetLength() / (edits + 1);
    for (int k = 0; k < edits; ++k) {
        int pos = (int)(step * (k + 1));
        const auto& e = kEdits[k % 4];
        if (recorded)
            doc.Edit(e.kind, pos, e.removed, e.inserted);
        else
            doc.Replace(pos, e.removed, e.inserted);
    }
}

// Child: open the file once with the class and print seconds, length, peak and private megabytes,
// the private megabytes before, after 100,000 unrecorded edits and after 100,000 recorded ones more.
int MeasureOne(const char* className, const std::string& path) {
    double before = PrivateMegabytes();
    auto* doc = dynamic_cast<CEditDocument*>(CRuntimeClass::CreateObject(className));
    if (doc == nullptr) return 2;
    double start = Now();
    int ok = doc->OpenFile(path.c_str());
    double seconds = Now() - start;
    double peak = PeakMegabytes(), held = PrivateMegabytes();
    ScatteredEdits(*doc, 100000, false);
    double edited = PrivateMegabytes();
    ScatteredEdits(*doc, 100000, true);
    std::printf("%.4f %ld %.1f %.1f %.1f %.1f %.1f\n", seconds, doc->GetLength(), peak, held, before, edited,
                PrivateMegabytes());
    return ok ? 0 : 1;
}

bool RunChild(const char* className, const std::string& path, double& seconds, long& length, double& peak,
              double& held, double& base, double& edited, double& recorded) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + std::string(self) + "\" --one=" + className + " \"" + path + "\"";
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process;
    BOOL started = ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                    &startup, &process);
    ::CloseHandle(writeEnd);
    std::string output;
    char chunk[256];
    DWORD count;
    while (started && ::ReadFile(readEnd, chunk, sizeof chunk, &count, nullptr) && count > 0)
        output.append(chunk, count);
    ::CloseHandle(readEnd);
    if (!started) return false;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return std::sscanf(output.c_str(), "%lf %ld %lf %lf %lf %lf %lf", &seconds, &length, &peak, &held, &base,
                       &edited, &recorded) == 7;
}
} // namespace

int main(int argc, char** argv) {
    int megabytes = 100, repeats = 3;
    bool utf8 = false;
    const char* one = nullptr;
    const char* onePath = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--megabytes=", 12) == 0)
            megabytes = std::atoi(argv[i] + 12);
        else if (std::strncmp(argv[i], "--repeats=", 10) == 0)
            repeats = std::atoi(argv[i] + 10);
        else if (std::strcmp(argv[i], "--utf8") == 0)
            utf8 = true;
        else if (std::strncmp(argv[i], "--one=", 6) == 0)
            one = argv[i] + 6;
        else
            onePath = argv[i];
    }
    if (one != nullptr && onePath != nullptr) return MeasureOne(one, onePath);

    std::string path = FilePath(megabytes, utf8);
    if (!EnsureFile(path, megabytes, utf8)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    long textBytes = 0;
    double bound = 1e30;
    for (int r = 0; r < repeats; ++r) {
        double s = FreadSeconds(path, textBytes);
        if (s >= 0 && s < bound) bound = s;
    }
    std::printf("%s file %d MB (%ld text bytes after CR LF -> LF); text-mode fread bound %.1f ms\n",
                utf8 ? "UTF-8" : "GBK", megabytes, textBytes, bound * 1e3);
    std::printf("%-15s %10s %8s %10s %10s %12s %11s\n", "class", "open ms", "x fread", "peak/text",
                "held/text", "after edits", "+ recorded");
    for (const char* className : {"CBlackEditDoc", "CColorEditDoc", "CCheckEditDoc", "CDataEditDoc"}) {
        double best = 1e30, peak = 0, held = 0, base = 0, edited = 0, recorded = 0, seconds;
        long length = 0;
        for (int r = 0; r < repeats; ++r) {
            double p, h, b, e, rec;
            if (!RunChild(className, path, seconds, length, p, h, b, e, rec)) {
                std::printf("%-15s failed\n", className);
                break;
            }
            if (seconds < best) best = seconds;
            peak = p, held = h, base = b, edited = e, recorded = rec;
        }
        double text = (double)length / (1 << 20);
        std::printf("%-15s %10.1f %8.2f %10.2f %10.2f %12.2f %11.2f\n", className, best * 1e3, best / bound,
                    (peak - base) / text, (held - base) / text, (edited - base) / text,
                    (recorded - base) / text);
    }
    return 0;
}
