#include "install/brand_table.h"

const brand_row brand_table[] = {
    {0, "Lumvex软件\\",
     "Lumvex工具01|Lumvex工具02|Lumvex工具03|Lumvex工具04|Lumvex工具05|Lumvex工具06|Lumvex工具07|"
     "Lumvex工具08|Lumvex工具09|Lumvex工具10|Lumvex工具11|Lumvex工具12|Lumvex工具13|Lumvex工具14|"
     "Lumvex工具15"},
    {1, "Corvane软件\\",
     "Corvane助手01|Corvane助手02|Corvane助手03|Corvane助手04|Corvane助手05|Corvane助手06|Corvane助手07|"
     "Corvane助手08|Corvane助手09|Corvane助手10|Corvane助手11"},
    {2, "Bristo软件\\", "Bristo录屏"},
    {3, "Quillon软件\\", "Quillon转换器"},
    {4, "Tessary软件\\", "Tessary看图"},
    {5, "Orvik软件\\", "Orvik压缩"},
    {9, "Maplewick软件\\", "Maplewick笔记"},
    {7, "Zentora软件\\", "Zentora翻译"},
    {8, "Halvio软件\\",
     "Halvio工具01|Halvio工具02|Halvio工具03|Halvio工具04|Halvio工具05|Halvio工具06|Halvio工具07|"
     "Halvio工具08|Halvio工具09|Halvio工具10|Halvio工具11"},
    {10, "Pellucid软件\\", "Pellucid清理"},
    {11, "Ravenna软件\\", "Ravenna播放器"},
    {13, "Solvane软件\\", "Solvane备份"},
    {14, "Trilby软件\\", "Trilby下载"},
    {15, "Umbrel软件\\", "Umbrel识字"},
    {16, "Veltrix软件\\", "Veltrix剪辑"},
    {17, "Wendell软件\\", "Wendell日历"},
    {19, "Xandor软件\\", "Xandor浏览器"},
    {20, "Yarrow软件\\", "Yarrow输入法"},
    {21, "Zephyra软件\\", "Zephyra杀毒"},
    {22, "Aldous软件\\", "Aldous阅读器"},
    {23, "Bexley软件\\", "Bexley邮件"},
};

const int brand_table_rows = static_cast<int>(sizeof(brand_table) / sizeof(brand_table[0]));

const brand_row* find_brand_row(int selector) {
    for (const brand_row& row : brand_table)
        if (row.selector == selector) return &row;
    return nullptr;
}
