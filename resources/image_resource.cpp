#include "resources/image_resource.h"

std::atomic<bool> onLoaderThread{false};
std::atomic<bool> uploadPending{false};
std::atomic<ImageResource*> pendingUpload{nullptr};

void OfferForUpload(ImageResource* image) {
  FinishHandOver();
  pendingUpload.store(image, std::memory_order_relaxed);
  uploadPending.store(true, std::memory_order_release);
}

void FinishHandOver() {
  // Woken by the main thread's notify rather than polling, so an image costs
  // no more than the frame in which the main thread uploads it.
  uploadPending.wait(true, std::memory_order_acquire);
}

void HandOverForUpload(ImageResource* image) {
  OfferForUpload(image);
  FinishHandOver();
}

void UploadOrOffer(ImageResource* image) {
  if (onLoaderThread.load(std::memory_order_relaxed)) {
    OfferForUpload(image);
  } else {
    image->Upload();
  }
}

void UploadOrHandOver(ImageResource* image) {
  if (onLoaderThread.load(std::memory_order_relaxed)) {
    HandOverForUpload(image);
  } else {
    image->Upload();
  }
}

void ServicePendingUpload() {
  if (!uploadPending.load(std::memory_order_acquire)) return;
  pendingUpload.load(std::memory_order_relaxed)->Upload();
  pendingUpload.store(nullptr, std::memory_order_relaxed);
  uploadPending.store(false, std::memory_order_release);
  uploadPending.notify_one();
}
