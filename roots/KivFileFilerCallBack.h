#pragma once
// A filer channel backed by a file: opened for writing (truncating) or for
// reading at construction, closed at destruction or by close().

#include "roots/KivFilerCallBack.h"
#include "roots/VelString.h"

#include <cstdio>

class KivFileFilerCallBack : public KivFilerCallBack
{
public:
    enum Mode { eRead, eWrite };

    KivFileFilerCallBack(const VelString& path, Mode mode);
    ~KivFileFilerCallBack() override;

    KivFileFilerCallBack(const KivFileFilerCallBack&) = delete;
    KivFileFilerCallBack& operator=(const KivFileFilerCallBack&) = delete;

    bool isOpen() const { return m_file != nullptr; }
    Mode mode() const { return m_mode; }
    // Flushes and closes; true when everything written reached the file.
    bool close();

    bool saveBytes(const void* data, int size) override;
    bool restoreBytes(void* data, int size) override;

private:
    std::FILE* m_file = nullptr;
    Mode m_mode;
    bool m_failed = false;
};
