#include "WholeFile.h"

#include "WideText.h"

#include <windows.h>

#include <array>

namespace kestrun::win32 {

namespace {

std::u16string SystemReason(DWORD error) {
    std::array<wchar_t, 512> text{};
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, text.data(), static_cast<DWORD>(text.size()), nullptr);
    std::wstring reason(text.data(), length);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r')) {
        reason.pop_back();
    }
    return FromWide(reason.empty() ? L"error " + std::to_wstring(error) : reason);
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_Handle(handle) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool IsOpen() const { return m_Handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_Handle; }
    bool Close() {
        const bool closed = !IsOpen() || CloseHandle(m_Handle) != 0;
        m_Handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_Handle;
};

} // namespace

std::optional<std::u16string> WriteWholeFile(const std::string& path, const std::string& bytes) {
    const std::wstring target = WideFromUtf8(path);
    const std::wstring temporary = target + L".part";
    FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) {
        return SystemReason(GetLastError());
    }
    DWORD written = 0;
    const bool complete = WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                    &written, nullptr) != 0 &&
                          written == bytes.size() && FlushFileBuffers(file.Get()) != 0;
    const DWORD error = GetLastError();
    if (!file.Close() || !complete) {
        DeleteFileW(temporary.c_str());
        return SystemReason(complete ? GetLastError() : error);
    }
    if (MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        const DWORD moveError = GetLastError();
        DeleteFileW(temporary.c_str());
        return SystemReason(moveError);
    }
    return std::nullopt;
}

} // namespace kestrun::win32
