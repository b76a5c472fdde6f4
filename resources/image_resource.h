#pragma once
#include <atomic>

// An image decoded in one place and uploaded to GL in another. The loader
// thread has no GL context, so what it decodes crosses to the main thread
// through a one-slot hand-off before the upload.
class ImageResource {
 public:
  virtual ~ImageResource() = default;
  // Reads and decodes an asset file (path relative to the asset directory)
  // and gets the result uploaded. Main or loader thread.
  virtual bool Load(const char* path, bool mipmapped) = 0;
  // Creates the GL texture from the decoded data. Main thread only.
  virtual void Upload() = 0;
};

// Raised by the loader thread while it loads images; Load then hands its
// object over instead of uploading. Writer: loader thread; readers: loader
// and main threads (relaxed: the flag guards no data).
extern std::atomic<bool> onLoaderThread;
// The hand-off slot. The loader stores pendingUpload, then raises
// uploadPending (release); the main thread reads the slot only after seeing
// the flag (acquire), uploads, clears the slot and lowers the flag (release);
// the loader sees the flag low (acquire) before it touches the object again.
extern std::atomic<bool> uploadPending;
extern std::atomic<ImageResource*> pendingUpload;

// Loader side: waits until the image offered before, if any, has been
// uploaded, then offers image and returns without waiting for its upload, so
// the loader can decode the next image meanwhile. The loader must not touch
// image again until FinishHandOver has returned.
void OfferForUpload(ImageResource* image);
// Loader side: waits until the image offered last, if any, has been uploaded.
// Returns at once when none waits. Blocks for ever unless the main thread
// keeps calling ServicePendingUpload.
void FinishHandOver();
// Loader side: OfferForUpload, then FinishHandOver.
void HandOverForUpload(ImageResource* image);

// Loader or main side, at the end of a successful decode: offers the image
// (OfferForUpload) while onLoaderThread is raised, otherwise uploads it
// directly.
void UploadOrOffer(ImageResource* image);
// The same, but on the loader thread also waits for the upload
// (HandOverForUpload): the image is uploaded when this returns.
void UploadOrHandOver(ImageResource* image);

// Main thread, once per frame of the loading screen: uploads the waiting
// image, if any, and releases the loader.
void ServicePendingUpload();
