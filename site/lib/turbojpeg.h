#define FFI_SCOPE "pictaro_turbojpeg"
#define FFI_LIB "libturbojpeg.so.0"

typedef void* tjhandle;
tjhandle tjInitDecompress(void);
int tjDecompressHeader3(tjhandle handle, const char* jpegBuf, unsigned long jpegSize, int* width,
                        int* height, int* jpegSubsamp, int* jpegColorspace);
int tjDecompress2(tjhandle handle, const char* jpegBuf, unsigned long jpegSize,
                  unsigned char* dstBuf, int width, int pitch, int height, int pixelFormat,
                  int flags);
int tjDestroy(tjhandle handle);
