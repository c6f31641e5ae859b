// Uses the roots library through its installed umbrella header.
#include <kiv/kivroots.h>

#include <cstdio>

int main()
{
    VelString s("kiv");
    s += VelString(L" roots");
    KivMemoryFilerCallBack filer;
    const int n = s.length();
    if (!filer.saveBytes(&n, sizeof n))
        return 1;
    int back = 0;
    if (!filer.restoreBytes(&back, sizeof back) || back != 9)
        return 2;
    std::printf("%s ok\n", s.getStringA());
    return 0;
}
