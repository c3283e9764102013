// The window's pictures as read-only data; the assembler finds the files through its
// include path (assets/pictures).
#if defined(__i386__)
#define SYMBOL(name) _##name
#else
#define SYMBOL(name) name
#endif
#define EMBED(name, file)                 \
    .globl SYMBOL(name);                  \
    .globl SYMBOL(name##_end);            \
    SYMBOL(name):                         \
    .incbin file;                         \
    SYMBOL(name##_end):

    .section .rdata, "dr"
EMBED(picture_install, "p1_install.jpg")
EMBED(picture_install_hot, "p2_install_hot.jpg")
EMBED(picture_logo2, "p4_logo2.jpg")
EMBED(picture_flame, "p5_flame.jpg")
EMBED(picture_close, "p6_close.jpg")
EMBED(picture_close_hot, "p7_close_hot.jpg")
EMBED(picture_close_pressed, "p8_close_pressed.jpg")
EMBED(picture_icon, "p9_icon.ico")
