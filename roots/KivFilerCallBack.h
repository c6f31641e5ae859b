#pragma once
// The application's persistence channel: a sequential stream of bytes.
// Bodies hand it unchanged to the facet modeler's save and restore, which
// write and read their own binary form through it.

class KivFilerCallBack
{
public:
    virtual ~KivFilerCallBack();

    // Appends size bytes; true when every byte was taken. A size of 0 succeeds.
    virtual bool saveBytes(const void* data, int size) = 0;

    // Reads exactly size bytes into data; false (data undefined) when fewer
    // are left, the channel is not readable, or size is negative.
    virtual bool restoreBytes(void* data, int size) = 0;
};
